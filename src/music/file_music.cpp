#include "file_music.h"

#include "cp932.h"
#include "mci_direct.h"

void FileMusic::StartMp3(const std::wstring& file) {
    if (SendMciDirect(port_, L"open \"" + file + L"\" type MPEGVideo Alias MP3Play") == 0) {
        SendMciDirect(port_, L"play MP3Play");
    }
}

bool FileMusic::IsMp3Playing() {
    return QueryModeWord(port_, L"status MP3Play mode", mp3ModeText_) == L"playing";
}

void FileMusic::RestartMp3IfEnded() {
    if (IsMp3Playing()) return;
    SendMciDirect(port_, L"stop MP3Play");
    SendMciDirect(port_, L"play MP3Play from 0");
}

void FileMusic::StopMp3() {
    SendMciDirect(port_, L"stop MP3Play");
    SendMciDirect(port_, L"close MP3Play");
}

void FileMusic::StartWav(const std::wstring& file) {
    if (port_.WaveOutDevices() == 0) return;
    port_.PlaySoundFile(ToCp932(file), kSoundAsync | kSoundLoop);
}

void FileMusic::StopWav() {
    port_.PlaySoundFile(std::nullopt, 0);
}
