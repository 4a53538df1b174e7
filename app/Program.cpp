#include "app/Program.h"

#include "app/Main.h"
#include "files/multiloadcd.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/about.h"
#include "settings/settings.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {
// Creates one window: its controls first, then its global, then its creation
// handler, as the framework does. An error in the creation handler shows the
// error box; the window exists all the same and start-up goes on.
template <class Window, class... Args>
void createWindow(std::unique_ptr<Window>& owner, Window*& global, Args&... args) {
  owner = std::make_unique<Window>(args...);
  global = owner.get();
  Application::dispatch([&] {
    if (owner->OnCreate) owner->OnCreate();
  });
}

template <class Window>
void destroyWindow(std::unique_ptr<Window>& owner, Window*& global) {
  global = nullptr;
  owner.reset();
}
}  // namespace

Program::Program(const std::string& folder) : store_(std::make_unique<Store>()) {
  // File dialogs of a new run start in the current folder.
  ForgetFileFolder();
  SetProgramFolder(folder);
  createWindow(form1_, Form1, *store_);
  createWindow(form2_, Form2);
  createWindow(form3_, Form3);
  createWindow(form4_, Form4);
  createWindow(form5_, Form5);
  createWindow(form6_, Form6);
  createWindow(form7_, Form7);
  createWindow(form9_, Form9);
  createWindow(form10_, Form10);
  createWindow(form11_, Form11);
  createWindow(form12_, Form12);
  createWindow(form13_, Form13);
  createWindow(form15_, Form15);
}

Program::~Program() {
  destroyWindow(form15_, Form15);
  destroyWindow(form13_, Form13);
  destroyWindow(form12_, Form12);
  destroyWindow(form11_, Form11);
  destroyWindow(form10_, Form10);
  destroyWindow(form9_, Form9);
  destroyWindow(form7_, Form7);
  destroyWindow(form6_, Form6);
  destroyWindow(form5_, Form5);
  destroyWindow(form4_, Form4);
  destroyWindow(form3_, Form3);
  destroyWindow(form2_, Form2);
  destroyWindow(form1_, Form1);
}

void Program::Run() { Application::backend().Run(*form1_); }
