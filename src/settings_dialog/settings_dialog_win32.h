#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "combo_box_win32.h"
#include "command_win32.h"
#include "dialog_model.h"
#include "form_win32.h"
#include "image_win32.h"
#include "label_win32.h"
#include "layout.h"
#include "picture_box_win32.h"
#include "profile_store.h"
#include "shape_win32.h"

// The settings dialog "<Lullvane>" for /c: the user picks the background music's source and
// file and stores the choice with OK. It works on the host's settings in place and writes them
// only on OK. Its window shows the program's icon, the resource named "LULLVANE".
class SettingsDialog {
  public:
    SettingsDialog(SettingsVariables& settings, std::wstring programFolder, ProfileStore& store);

    // Loads the dialog, shows it modally and returns once it has closed.
    void ShowModal();

  private:
    // Events.
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void ChooseSource(int source);
    void ChooseFile(int index);
    void Store();
    void OpenHomePage();

    void CreateControls();
    void CreateWindowed(const ControlLayout& layout);
    void ShowSource();
    void ZoomFromPoint();
    void ZoomToPoint();
    forms::Label& LabelOf(Control control) { return *labels_.at(control); }
    forms::Image& ImageOf(Control control) { return *images_.at(control); }
    CommandWindow* ButtonOf(Control control) const;
    PixelFrame FrameOf(const ControlLayout& layout) const;

    SettingsDialogModel model_;
    const std::wstring programFolder_;
    ProfileStore& store_;
    const CaptionFont font_;
    const int twipsPerPixelX_;
    const int twipsPerPixelY_;
    ZoomPoint zoomPoint_;

    forms::Form form_;
    // The controls keep their designer's names, by which the layout table knows them.
    forms::PictureBox Pic_C0;
    forms::ComboBox BGM_Repeat;
    forms::Shape Shape3;
    std::map<Control, std::unique_ptr<forms::Label>> labels_;
    std::map<Control, std::unique_ptr<forms::Image>> images_;
    std::map<Control, HWND> buttons_;  // the buttons' windows own them
    // The two indicator pictures: 0 unselected, 1 selected.
    std::shared_ptr<const forms::Picture> Img_Ra[2];
    HCURSOR linkPointer_;
};
