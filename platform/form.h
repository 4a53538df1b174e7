// A window: its controls, declared once with names, captions and bounds, its
// main menu, and how it is shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"

class Form : public Control {
 public:
  Form(std::string name, std::string caption, TRect bounds);
  ~Form() override;

  // Shows the window and returns when it is closed again.
  void ShowModal();
  // Shows the window beside the others and returns at once.
  void Show();
  // Hides the window; its controls keep their values.
  void Close();
  bool Showing() const { return showing_; }
  bool Modal() const { return modal_; }

  MainMenu* Menu() const { return menu_; }
  // Every control of the window in declaration order, the form excluded.
  const std::vector<Control*>& AllControls() const { return all_; }
  // The control of this name, or null.
  Control* Find(const std::string& name) const;

  // Runs when the window is created at start-up.
  Notify OnCreate;
  // Runs when files are dropped on the window.
  std::function<void(const std::vector<std::string>&)> OnDropFiles;
  bool AllowDropFiles = false;
  // Whether the title bar offers a close box. A window without one is left
  // only by its own buttons; asking it to close from outside does nothing.
  bool CloseBox = true;

  // Called by back ends when the window has been shown or closed.
  void SetShowing(bool showing, bool modal);

 protected:
  // Declaring controls. `parent` is a tab sheet or a group box of this form,
  // or null for the form itself.
  Label* addLabel(const std::string& name, const std::string& caption, TRect bounds,
                  Control* parent = nullptr);
  Edit* addEdit(const std::string& name, const std::string& text, TRect bounds,
                Control* parent = nullptr);
  Button* addButton(const std::string& name, const std::string& caption, TRect bounds,
                    Control* parent = nullptr);
  CheckBox* addCheck(const std::string& name, const std::string& caption, TRect bounds,
                     Control* parent = nullptr, bool checked = false);
  RadioButton* addRadio(const std::string& name, const std::string& caption, TRect bounds,
                        Control* parent = nullptr, bool checked = false);
  GroupBox* addGroup(const std::string& name, const std::string& caption, TRect bounds,
                     Control* parent = nullptr);
  Memo* addMemo(const std::string& name, TRect bounds, Control* parent = nullptr);
  ProgressBar* addProgress(const std::string& name, TRect bounds, Control* parent = nullptr);
  PageControl* addPages(const std::string& name, TRect bounds, Control* parent = nullptr);
  TabSheet* addTab(PageControl* pages, const std::string& name, const std::string& caption);
  // An image whose picture has the size of its bounds.
  Image* addImage(const std::string& name, TRect bounds, Control* parent = nullptr);
  MainMenu* addMainMenu(const std::string& name);
  // `parent` is the main menu or another item.
  MenuItem* addMenuItem(Control* parent, const std::string& name, const std::string& caption,
                        bool enabled = true);
  OpenDialog* addOpenDialog(const std::string& name);
  SaveDialog* addSaveDialog(const std::string& name);
  SelectDirectoryDialog* addSelectDirectoryDialog(const std::string& name);

 private:
  template <class T>
  T* adopt(std::unique_ptr<T> control);

  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> all_;
  MainMenu* menu_ = nullptr;
  bool showing_ = false;
  bool modal_ = false;
};
