#include "file_music.h"

#include "cp932.h"
#include "mci_direct.h"

void FileMusic::StartMp3(const std::wstring& file) {
    if (SendMciDirect(port, L"open \"" + file + L"\" type MPEGVideo Alias MP3Play") == 0) {
        SendMciDirect(port, L"play MP3Play");
    }
}

bool FileMusic::IsMp3Playing() {
    return QueryModeWord(port, L"status MP3Play mode", mp3ModeText) == L"playing";
}

void FileMusic::RestartMp3IfEnded() {
    if (IsMp3Playing()) return;
    SendMciDirect(port, L"stop MP3Play");
    SendMciDirect(port, L"play MP3Play from 0");
}

void FileMusic::StopMp3() {
    SendMciDirect(port, L"stop MP3Play");
    SendMciDirect(port, L"close MP3Play");
}

void FileMusic::StartWav(const std::wstring& file) {
    if (port.WaveOutDevices() == 0) return;
    port.PlaySoundFile(ToCp932(file), kSoundAsync | kSoundLoop);
}

void FileMusic::StopWav() {
    port.PlaySoundFile(std::nullopt, 0);
}
