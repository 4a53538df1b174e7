// The scripted back end: tests act as a person would and read back what the
// program showed.
//
//   ScriptedUi ui;                          // installs itself as the back end
//   ui.type(form.Edit3, "0.2");             // runs Edit3's OnChange through dispatch
//   ui.tick(form.CheckBox1);                // change, then click
//   ui.click(form.Button2);
//   ui.menu(form.Open1);                    // refused when it or a parent is disabled
//   ui.mouse(form.Image1, Mouse::Down, MouseButton::Left, 120, 300);
//   ui.drop(form, {path});
//
// Dialogs are answered from a queue the test fills before the action:
//   ui.willChooseFile(path)   the next open or save dialog returns path
//   ui.willChooseFiles({..})  the next open dialog returns several files
//   ui.willChooseFolder(dir)  the next folder picker returns dir
//   ui.willCancel()           the next file dialog or folder picker is cancelled
//   ui.willAnswer(Answer::No) the next Yes/No box
// A file dialog, folder picker or Yes/No box without a prepared answer fails
// the test with a message naming it (and is taken as cancelled / No). Plain
// message boxes and error boxes need no answer; every box shown, start-up
// included, is kept in the transcript: ui.boxes(), ui.lastBox().
//
// A window shown modally runs the action given with ui.onModal(form, action)
// (once; by default the window is closed at once). The dialogs the program
// ran are kept as well (ui.dialogs()) so a test can check titles, filters and
// preset names.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

enum class BoxKind { Message, Question, Error };

struct Box {
  BoxKind kind;
  std::string caption;  // the Yes/No caption, or the error's class name
  std::string text;
};

// A file dialog or folder picker the program ran, as it was set up.
struct DialogSeen {
  ControlKind kind;
  std::string name;
  std::string title;
  std::vector<FileFilter> filters;
  int filterIndex;
  std::string presetFileName;
  std::string defaultExt;
  bool multiSelect;
  std::string startFolder;  // where a file dialog starts
};

enum class Mouse { Down, Move, Up };

class ScriptedUi : public Backend {
 public:
  ScriptedUi();
  ~ScriptedUi() override;
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  // A person's actions. Each fails the test when the control cannot be used
  // (disabled or hidden), as a person could not use it either.
  void type(Edit* edit, const std::string& text);
  void tick(CheckBox* box);
  void untick(CheckBox* box);
  void tick(RadioButton* radio);
  void click(Button* button);
  // Returns false, and runs nothing, when the item or a parent is disabled.
  bool menu(MenuItem* item);
  void mouse(Image* image, Mouse action, MouseButton button, int x, int y);
  void drop(Form* form, const std::vector<std::string>& paths);
  void selectPage(PageControl* pages, TabSheet* page);
  // Presses the window's close box; false, and nothing happens, when the
  // window has none.
  bool closeBox(Form* form);
  // Any other action, run as a person's event is run.
  void act(const std::function<void()>& action);

  // Answers for the dialogs still to come. A filter index (1-based) chooses
  // that filter of the dialog as well; 0 keeps the one it offers.
  void willChooseFile(const std::string& path, int filterIndex = 0);
  void willChooseFiles(const std::vector<std::string>& paths);
  void willChooseFolder(const std::string& folder);
  void willCancel();
  void willAnswer(Answer answer);
  // The action to run when `form` is next shown modally.
  void onModal(Form* form, std::function<void()> action);
  // Answers not used yet.
  size_t pendingAnswers() const { return answers_.size(); }

  const std::vector<Box>& boxes() const { return boxes_; }
  // The last box shown; fails the test when there was none.
  Box lastBox() const;
  std::vector<Box> errorBoxes() const;
  void clearBoxes() { boxes_.clear(); }
  const std::vector<DialogSeen>& dialogs() const { return dialogs_; }
  // The URLs the program asked the desktop shell to open.
  const std::vector<std::string>& openedUrls() const { return urls_; }
  // Forms shown modelessly and not closed since.
  std::vector<Form*> modelessForms() const;

  // Backend
  void ControlChanged(Control&, ControlChange) override {}
  void ShowModal(Form& form) override;
  void ShowModeless(Form& form) override;
  void CloseForm(Form& form) override;
  bool ExecuteOpen(OpenDialog& dialog) override;
  bool ExecuteSave(SaveDialog& dialog) override;
  bool ExecuteSelectDirectory(SelectDirectoryDialog& dialog) override;
  void MessageBox(const std::string& text) override;
  Answer QuestionBox(const std::string& caption, const std::string& text) override;
  void ErrorBox(const std::string& className, const std::string& message) override;
  void Run(Form& mainForm) override;

 private:
  struct Pending {
    enum Kind { Files, Folder, Cancel, YesNo } kind;
    std::vector<std::string> paths;
    Answer answer{};
    int filterIndex = 0;
  };
  bool takeFileAnswer(const std::string& what, std::vector<std::string>& paths, int& filterIndex);
  bool usable(Control* control, const char* action);

  std::deque<Pending> answers_;
  std::vector<Box> boxes_;
  std::vector<DialogSeen> dialogs_;
  std::vector<std::string> urls_;
  std::map<Form*, std::function<void()>> modalActions_;
  std::vector<Form*> modeless_;
  Backend* previous_;
};
