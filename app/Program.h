// One run of the program: the curve-slot store and the thirteen windows,
// created in the order the program has always created them. Tests build a
// fresh Program over a temporary folder that stands for the executable's.
#pragma once

#include <memory>
#include <string>

struct Store;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm15;

class Program {
 public:
  // Creates the windows inside the framework's dispatch, so that an error
  // while a window is created shows the error box and the start-up goes on.
  explicit Program(const std::string& folder);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Store& store() { return *store_; }
  // Runs the event loop until the main window is closed.
  void Run();

 private:
  std::unique_ptr<Store> store_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
  std::unique_ptr<TForm5> form5_;
  std::unique_ptr<TForm6> form6_;
  std::unique_ptr<TForm7> form7_;
  std::unique_ptr<TForm9> form9_;
  std::unique_ptr<TForm10> form10_;
  std::unique_ptr<TForm11> form11_;
  std::unique_ptr<TForm12> form12_;
  std::unique_ptr<TForm13> form13_;
  std::unique_ptr<TForm15> form15_;
};
