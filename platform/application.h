// The running program's link to its back end, and the one entry for a
// person's actions.
//
// Application::dispatch runs an action the way the framework runs an event
// handler: anything the program throws ends the action and shows the error
// box with the exception's class name and message. Handlers that the action
// sets off (change handlers, redraws) run inside it and are never caught on
// their own: an exception deep in a cascade reaches the one error box of the
// outermost dispatch. A modal window shown inside a handler starts a fresh
// dispatch level, so an error in one of its handlers shows its box there and
// the window stays open.
#pragma once

#include <functional>
#include <string>
#include <vector>

class Control;
class Form;
class OpenDialog;
class SaveDialog;
class SelectDirectoryDialog;
enum class ControlChange;
enum class Answer;

// What a back end provides: windows shown, dialogs answered, boxes shown.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual void ControlChanged(Control& control, ControlChange what) = 0;
  // Makes changes visible while a long handler runs (progress bars, plots).
  virtual void ProcessPaint() {}
  virtual void ShowModal(Form& form) = 0;
  virtual void ShowModeless(Form& form) = 0;
  virtual void CloseForm(Form& form) = 0;
  virtual bool ExecuteOpen(OpenDialog& dialog) = 0;
  virtual bool ExecuteSave(SaveDialog& dialog) = 0;
  virtual bool ExecuteSelectDirectory(SelectDirectoryDialog& dialog) = 0;
  virtual void MessageBox(const std::string& text) = 0;
  virtual Answer QuestionBox(const std::string& caption, const std::string& text) = 0;
  virtual void ErrorBox(const std::string& className, const std::string& message) = 0;
  // Runs the event loop until the main window is closed.
  virtual void Run(Form& mainForm) = 0;
  virtual void TitleChanged(const std::string& /*title*/) {}
};

// A back end that records nothing and answers every dialog with cancel; used
// until a real one is installed.
class NullBackend : public Backend {
 public:
  void ControlChanged(Control&, ControlChange) override {}
  void ShowModal(Form& form) override;
  void ShowModeless(Form& form) override;
  void CloseForm(Form& form) override;
  bool ExecuteOpen(OpenDialog&) override { return false; }
  bool ExecuteSave(SaveDialog&) override { return false; }
  bool ExecuteSelectDirectory(SelectDirectoryDialog&) override { return false; }
  void MessageBox(const std::string&) override {}
  Answer QuestionBox(const std::string&, const std::string&) override;
  void ErrorBox(const std::string&, const std::string&) override {}
  void Run(Form&) override {}
};

class Application {
 public:
  // Runs a person's action (or the start-up) and turns what it throws into
  // the error box.
  static void dispatch(const std::function<void()>& action);
  // True while an action runs.
  static bool Dispatching();

  static Backend& backend();
  // Installs a back end (null: the null back end). The caller keeps ownership.
  static void SetBackend(Backend* backend);

  static const std::string& Title();
  static void SetTitle(const std::string& title);

  // Opens a fresh dispatch level for a modal window's own event handling.
  class ModalScope {
   public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    int savedDepth_;
  };
};
