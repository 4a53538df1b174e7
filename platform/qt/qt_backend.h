// The Qt 6 Widgets back end: every window the program declares becomes a
// real window with one widget per control, and both sides stay in step.
//
//   QApplication app(argc, argv);
//   QtBackend backend;          // installs itself as the running back end
//   Program program(folder);
//   Form1->Show();
//   program.Run();              // returns when the main window is closed
//
// What a person types, ticks or clicks enters through Application::dispatch,
// so the program's handlers run under the firing rules and their errors end
// in the error box. What the handlers change is mirrored into the widgets at
// once; those updates never come back as input.
//
// A window's widgets are built the first time it is shown (or asked for with
// window()); they live, hidden or not, until the back end goes. The back end
// must outlive the windows it has shown and be destroyed on the thread that
// runs the QApplication, before the QApplication.
#pragma once

#include <memory>
#include <string>

#include "platform/application.h"

class QWidget;

class QtBackend : public Backend {
 public:
  // Needs a QApplication (widgets), not a bare QGuiApplication.
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // The top-level widget that shows `form`, built on first use. Every widget
  // in it carries the name of its control as its object name.
  QWidget* window(Form& form);

  // Backend
  void ControlChanged(Control& control, ControlChange what) override;
  void ProcessPaint() override;
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
  void TitleChanged(const std::string& title) override;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
  Backend* previous_;
};
