// Start-up: the Qt back end, the program over the executable's folder, the
// main window, and the event loop until the main window is closed.
//
// With ORVANIX_SCREENSHOT_DIR set, the program instead shows each tab page of
// the main window and then each of its other windows, writes a PNG of each
// into that folder and ends (scripts/screenshot runs it so under Xvfb).
// ORVANIX_SCREENSHOT_OPEN may name a file to open first, as if dropped on
// the main window, so the pictures show a curve.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/Main.h"
#include "app/Program.h"
#include "files/multiloadcd.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/parallel.h"
#include "platform/qt/qt_backend.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/about.h"
#include "settings/settings.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {

// Lets a window that was just shown or switched lay itself out and paint.
void settle() {
  for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
}

bool grabInto(QtBackend& backend, Form& form, const QString& path) {
  settle();
  return backend.window(form)->grab().save(path, "PNG");
}

// Returns false when a picture could not be written.
bool writeScreenshots(QtBackend& backend, const QString& folder) {
  bool written = QDir().mkpath(folder);
  const std::string opened = qEnvironmentVariable("ORVANIX_SCREENSHOT_OPEN").toStdString();
  if (!opened.empty()) {
    Application::dispatch([&] {
      if (Form1->OnDropFiles) Form1->OnDropFiles({opened});
    });
  }
  const std::pair<TabSheet*, const char*> pages[] = {{Form1->TabSheet1, "uv-ecd"},
                                                     {Form1->TabSheet5, "ir-vcd"},
                                                     {Form1->TabSheet3, "hplc"},
                                                     {Form1->TabSheet4, "ord"}};
  for (const auto& [page, name] : pages) {
    TabSheet* sheet = page;
    Application::dispatch([sheet] { Form1->PageControl1->SetActivePage(sheet); });
    written = grabInto(backend, *Form1, folder + "/" + name + ".png") && written;
  }
  Application::dispatch([] { Form1->PageControl1->SetActivePage(Form1->TabSheet1); });

  for (Form* form : std::initializer_list<Form*>{Form2, Form3, Form4, Form5, Form6, Form7, Form9,
                                                 Form10, Form11, Form12, Form13, Form15}) {
    if (form == nullptr) continue;
    form->Show();
    written = grabInto(backend, *form, folder + "/" + QString::fromStdString(form->Name()).toLower() +
                                           ".png") &&
              written;
    form->Close();
  }
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QtBackend backend;
  Program program(ExecutableFolder());
  Form1->Show();

  int status = 0;
  const QString screenshotFolder = qEnvironmentVariable("ORVANIX_SCREENSHOT_DIR");
  if (!screenshotFolder.isEmpty()) {
    QTimer::singleShot(200, [&] {
      if (!writeScreenshots(backend, screenshotFolder)) status = 1;
      Form1->Close();
    });
  }
  program.Run();
  // The threads that share work end here, with no work under way, and not
  // while the program's objects are destroyed.
  StopSharingThreads();
  return status;
}
