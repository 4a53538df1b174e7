// The one way tests drive the whole program.
//
//   Session ui;                                  // a fresh Program over a new temporary folder
//   ui.willChooseFile(fixture("mol.cd.bil"));    // answer for the next open or save dialog
//   ui.menu(Form1->Open1);                       // as a person: refused if disabled
//   EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
//   ui.type(Form1->Edit3, "0.2");                // runs Edit3Change through the firing rules
//   ui.willAnswer(Answer::No);                   // for the next Yes/No box
//   ui.menu(Form1->SaveCD1);
//   EXPECT_EQ(ui.lastBox().text, "File not saved!");
//
// Session(folder) starts over a folder the test prepared (a settings file
// written beforehand); restart() ends the program and starts a new one over
// the same folder. Boxes shown during start-up are in the transcript. All of
// ScriptedUi's actions and answers are available (see scripted_ui.h).
#pragma once

#include <memory>
#include <string>

#include "app/Program.h"
#include "platform/testing/scripted_ui.h"

class Session : public ScriptedUi {
 public:
  Session();
  explicit Session(const std::string& folder);
  ~Session() override;

  Program& program() { return *program_; }
  Store& store() { return program_->store(); }
  // The folder that stands for the executable's folder.
  const std::string& folder() const { return folder_; }
  // A path inside that folder.
  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  void restart();

 private:
  std::string folder_;
  bool ownsFolder_;
  std::unique_ptr<Program> program_;
};

// A new empty temporary folder, removed when the returned object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes text to a file as it stands (no line-end conversion).
void writeTextFile(const std::string& path, const std::string& text);
// The whole content of a file, bytes as they are.
std::string readTextFile(const std::string& path);

#ifdef ORVANIX_FIXTURES
// A small input file of our own, from tests/fixtures.
inline std::string fixture(const std::string& name) { return std::string(ORVANIX_FIXTURES) + "/" + name; }
#endif
#ifdef ORVANIX_CORPUS
// A real output file from the shared corpus, or "" when the corpus is absent
// (the calling test then skips itself).
std::string corpusFile(const std::string& corpusRoot, const std::string& relative);
inline std::string corpus(const std::string& relative) { return corpusFile(ORVANIX_CORPUS, relative); }
#endif
