// The Qt back end, driven through its real widgets on Qt's offscreen
// platform: what a person types, ticks and clicks reaches the program under
// the firing rules, and what the program changes shows in the widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "files/multiloadcd.h"
#include "app/Program.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/qt/qt_backend.h"
#include "platform/testing/session.h"
#include "settings/about.h"
#include "settings/settings.h"
#include "tools/sumspectra.h"

namespace {

// One QApplication for the whole test program, on the offscreen platform,
// made before anything else asks for a GUI application.
void ensureQApplication() {
  static int argc = 1;
  static char name[] = "test_qt_backend";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  (void)application;
}

struct BoxSeen {
  QMessageBox::Icon icon;
  QString title;
  QString text;
};

// The person in front of the modal windows: every message box is noted and
// answered (Yes/No boxes from a queue of answers), every other modal window
// (a file dialog, a window of the program) goes to the next prepared action.
class ModalWatcher {
 public:
  ModalWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(5);
  }
  ~ModalWatcher() {
    if (!actions_.empty()) ADD_FAILURE() << actions_.size() << " prepared modal action(s) unused";
    if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " prepared answer(s) unused";
  }

  void answer(QMessageBox::StandardButton button) { answers_.push_back(button); }
  void onModal(std::function<void(QWidget*)> action) { actions_.push_back(std::move(action)); }
  std::vector<BoxSeen> boxes;

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->property(answeredMark).toBool()) return;
    modal->setProperty(answeredMark, true);
    // Answered outside this timer's slot, so that windows the answer opens
    // in turn are watched as well.
    QPointer<QWidget> target = modal;
    QTimer::singleShot(0, [this, target] {
      if (target != nullptr) handle(target);
      if (target != nullptr) target->setProperty(answeredMark, QVariant());
    });
  }

  void handle(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes.push_back({box->icon(), box->windowTitle(), box->text()});
      QMessageBox::StandardButton choice = QMessageBox::Ok;
      if (box->button(QMessageBox::Yes) != nullptr) {
        choice = QMessageBox::No;
        if (answers_.empty()) {
          ADD_FAILURE() << "unexpected question: " << box->text().toStdString();
        } else {
          choice = answers_.front();
          answers_.pop_front();
        }
      }
      box->button(choice)->click();
      return;
    }
    if (actions_.empty()) {
      ADD_FAILURE() << "unexpected modal window " << modal->objectName().toStdString();
      modal->close();
      return;
    }
    std::function<void(QWidget*)> action = std::move(actions_.front());
    actions_.pop_front();
    action(modal);
  }

  static constexpr const char* answeredMark = "answeredByTest";
  QTimer timer_;
  std::deque<std::function<void(QWidget*)>> actions_;
  std::deque<QMessageBox::StandardButton> answers_;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

class QtBackendTest : public ::testing::Test {
 protected:
  QtBackendTest() { ensureQApplication(); }

  void SetUp() override {
    backend = std::make_unique<QtBackend>();
    watcher = std::make_unique<ModalWatcher>();
    program = std::make_unique<Program>(folder.path());
    Form1->Show();
    main = backend->window(*Form1);
    // The offscreen screen is smaller than the window; a person's screen is not.
    main->resize(main->maximumSize());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  }

  void TearDown() override {
    program.reset();
    watcher.reset();
    backend.reset();
  }

  template <class Widget>
  Widget* widget(const char* name, QWidget* window = nullptr) {
    auto* found = (window != nullptr ? window : main)->findChild<Widget*>(name);
    EXPECT_NE(found, nullptr) << "no widget " << name;
    return found;
  }

  // Runs the Qt event loop until `done` holds or a second has passed.
  static bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
  }

  TempFolder folder;
  std::unique_ptr<QtBackend> backend;
  std::unique_ptr<ModalWatcher> watcher;
  std::unique_ptr<Program> program;
  QWidget* main = nullptr;
};

// A small window of radio buttons in a group box.
class RadioWindow : public Form {
 public:
  RadioWindow() : Form("RadioWindow", "radios", {0, 0, 220, 90}) {
    group = addGroup("group", "choice", {8, 8, 204, 70});
    first = addRadio("first", "first", {8, 24, 90, 20}, group, true);
    second = addRadio("second", "second", {104, 24, 90, 20}, group);
  }
  GroupBox* group;
  RadioButton* first;
  RadioButton* second;
};

// A modal window whose button fails.
class FailingWindow : public Form {
 public:
  FailingWindow() : Form("FailingWindow", "failing", {0, 0, 200, 60}) {
    fail = addButton("fail", "fail", {8, 8, 90, 25});
    fail->OnClick = [] { throw EInOutError("File not found"); };
  }
  Button* fail;
};

// Clicks the box of a check box or radio button (its middle may lie beyond
// a short caption, where Qt does not take it as a click).
void clickIndicator(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST_F(QtBackendTest, TypingIntoTheBandWidthRunsItsChangeHandlerOncePerChange) {
  int changes = 0;
  Notify handler = Form1->Edit3->OnChange;
  Form1->Edit3->OnChange = [&] {
    ++changes;
    if (handler) handler();
  };
  auto* edit = widget<QLineEdit>("Edit3");
  edit->end(false);

  QTest::keyClicks(edit, "5");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Form1->Edit3->Text(), "0.165");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Form1->Edit3->Text(), "0.16");
  // A key that moves the cursor changes no text and runs nothing.
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClicks(edit, "2");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(Form1->Edit3->Text(), "0.126");

  // File > New puts "0.16" back: the widget shows it, and the handler runs
  // once for the change, not again for the widget's update.
  widget<QAction>("New1")->trigger();
  EXPECT_EQ(edit->text(), "0.16");
  EXPECT_EQ(changes, 4);
  EXPECT_TRUE(watcher->boxes.empty());
}

TEST_F(QtBackendTest, ClickingACheckBoxRunsChangeThenClick) {
  std::vector<std::string> events;
  CheckBox* multiplot = Form1->CheckBox16;
  multiplot->OnChange = [&] { events.push_back("change"); };
  multiplot->OnClick = [&] { events.push_back("click"); };
  auto* box = widget<QCheckBox>("CheckBox16");

  clickIndicator(box);
  EXPECT_EQ(events, (std::vector<std::string>{"change", "click"}));
  EXPECT_TRUE(multiplot->Checked());
  clickIndicator(box);
  EXPECT_EQ(events.size(), 4u);
  EXPECT_FALSE(multiplot->Checked());
  EXPECT_FALSE(box->isChecked());

  // Ticked by the program: the widget follows and nothing runs twice.
  Application::dispatch([&] { multiplot->SetChecked(true); });
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(events.size(), 6u);

  // The disabled radio buttons of the ORD page take no clicks.
  auto* relative = widget<QRadioButton>("RadioButton4");
  EXPECT_FALSE(relative->isEnabled());
  clickIndicator(relative);
  EXPECT_FALSE(Form1->RadioButton4->Checked());
  EXPECT_FALSE(relative->isChecked());
}

TEST_F(QtBackendTest, RadioButtonsFollowTheProgramsGroupNotQts) {
  RadioWindow form;
  std::vector<std::string> events;
  for (RadioButton* radio : {form.first, form.second}) {
    radio->OnChange = [&events, radio] { events.push_back(radio->Name() + " change"); };
    radio->OnClick = [&events, radio] { events.push_back(radio->Name() + " click"); };
  }
  form.Show();
  QWidget* window = backend->window(form);
  auto* first = widget<QRadioButton>("first", window);
  auto* second = widget<QRadioButton>("second", window);
  ASSERT_TRUE(first->isChecked());

  clickIndicator(second);
  EXPECT_EQ(events, (std::vector<std::string>{"first change", "second change", "second click"}));
  EXPECT_FALSE(form.first->Checked());
  EXPECT_TRUE(form.second->Checked());
  EXPECT_FALSE(first->isChecked());
  EXPECT_TRUE(second->isChecked());

  // Clicking the ticked radio leaves it ticked and runs nothing.
  events.clear();
  clickIndicator(second);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(second->isChecked());

  Application::dispatch([&] { form.first->SetChecked(true); });
  EXPECT_TRUE(first->isChecked());
  EXPECT_FALSE(second->isChecked());
  // The program may leave a group without a ticked radio; Qt on its own
  // would keep one ticked.
  Application::dispatch([&] { form.first->SetChecked(false); });
  EXPECT_FALSE(first->isChecked());
  EXPECT_FALSE(second->isChecked());
  form.Close();
}

TEST_F(QtBackendTest, AMenuEntryRunsOnlyWhileItAndItsMenuAreEnabled) {
  int saves = 0;
  Form1->SaveCD1->OnClick = [&] { ++saves; };
  auto* bar = widget<QMenuBar>("MainMenu1");
  QAction* ecd = widget<QAction>("CDspectra1");
  QAction* save = widget<QAction>("SaveCD1");
  ASSERT_FALSE(ecd->isEnabled());
  ASSERT_TRUE(save->isEnabled());

  // The disabled "ECD" menu does not open, and its entry does not run even
  // when set off directly.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(ecd).center());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  save->trigger();
  EXPECT_EQ(saves, 0);

  // Once the program enables the menu, a person opens it and chooses the entry.
  Application::dispatch([] { Form1->CDspectra1->SetEnabled(true); });
  EXPECT_TRUE(ecd->isEnabled());
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(ecd).center());
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->objectName(), "CDspectra1");
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(save).center());
  EXPECT_EQ(saves, 1);

  // An entry the program disables is disabled in its menu.
  Application::dispatch([] { Form1->SaveCD1->SetEnabled(false); });
  EXPECT_FALSE(save->isEnabled());
  save->trigger();
  EXPECT_EQ(saves, 1);
}

TEST_F(QtBackendTest, AHandlerThatThrowsShowsOneErrorBoxAndTheProgramGoesOn) {
  // The fault lies deep in a cascade: the button ticks a box whose change
  // handler fails.
  Form1->CheckBox16->OnChange = [] {
    throw EConvertError("\"0,2\" is an invalid floating point number");
  };
  Form1->Button5->OnClick = [] { Form1->CheckBox16->SetChecked(true); };
  QTest::mouseClick(widget<QPushButton>("Button5"), Qt::LeftButton);

  ASSERT_EQ(watcher->boxes.size(), 1u);
  EXPECT_EQ(watcher->boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(watcher->boxes[0].title, "EConvertError");
  EXPECT_EQ(watcher->boxes[0].text, "\"0,2\" is an invalid floating point number");
  // The state set before the fault stays, and shows.
  EXPECT_TRUE(widget<QCheckBox>("CheckBox16")->isChecked());

  int changes = 0;
  Form1->Edit3->OnChange = [&] { ++changes; };
  QTest::keyClicks(widget<QLineEdit>("Edit3"), "5");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(watcher->boxes.size(), 1u);
}

TEST_F(QtBackendTest, AModalWindowBlocksUntilClosedAModelessOneStaysOpen) {
  QWidget* shown = nullptr;
  bool modalWhileShown = false;
  QString link;
  watcher->onModal([&](QWidget* window) {
    shown = window;
    modalWhileShown = Form3->Showing() && Form3->Modal() && window->isModal();
    link = widget<QLabel>("Label3", window)->text();
    window->close();  // the window's close button
  });
  widget<QAction>("Info1")->trigger();  // returns once the window is closed

  EXPECT_EQ(shown, backend->window(*Form3));
  EXPECT_TRUE(modalWhileShown);
  EXPECT_TRUE(link.contains(ProjectWebAddress)) << link.toStdString();
  EXPECT_TRUE(link.contains("<a ")) << "a label with a click handler shows as a link";
  EXPECT_FALSE(Form3->Showing());
  EXPECT_FALSE(shown->isVisible());

  // Opened again, the same window comes back with its controls.
  watcher->onModal([&](QWidget* window) {
    EXPECT_EQ(window, shown);
    Form3->Close();
  });
  widget<QAction>("Info1")->trigger();
  EXPECT_FALSE(Form3->Showing());

  widget<QAction>("sumspectra1")->trigger();
  QWidget* sum = backend->window(*Form4);
  EXPECT_TRUE(Form4->Showing());
  EXPECT_FALSE(Form4->Modal());
  EXPECT_TRUE(sum->isVisible());
  EXPECT_FALSE(sum->isModal());
  EXPECT_TRUE(main->isVisible());
  Form4->Close();
  EXPECT_FALSE(sum->isVisible());
  EXPECT_FALSE(Form4->Showing());
}

TEST_F(QtBackendTest, TheLoadRemoveWindowHasNoCloseBoxAndIsLeftByItsButtons) {
  bool closeBox = true;
  bool openAfterCloseRequest = false;
  watcher->onModal([&](QWidget* window) {
    closeBox = window->windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
               window->windowFlags().testFlag(Qt::WindowSystemMenuHint);
    window->close();  // what a close box or Alt+F4 would ask
    openAfterCloseRequest = Form7->Showing() && window->isVisible();
    QTest::mouseClick(widget<QPushButton>("Button6", window), Qt::LeftButton);  // "Cancel"
  });
  Application::dispatch([] { Form7->ShowModal(); });
  EXPECT_FALSE(closeBox);
  EXPECT_TRUE(openAfterCloseRequest);
  EXPECT_FALSE(Form7->Showing());
  EXPECT_TRUE(Form7->CheckBox5->Checked()) << "left by \"Cancel\"";
}

TEST_F(QtBackendTest, AnErrorInAModalWindowShowsItsBoxThereAndTheWindowStaysOpen) {
  FailingWindow form;
  bool openAfterError = false;
  watcher->onModal([&](QWidget* window) {
    QTest::mouseClick(widget<QPushButton>("fail", window), Qt::LeftButton);
    openAfterError = form.Showing() && window->isVisible() && watcher->boxes.size() == 1;
    window->close();
  });
  Form1->Button5->OnClick = [&] { form.ShowModal(); };
  QTest::mouseClick(widget<QPushButton>("Button5"), Qt::LeftButton);

  EXPECT_TRUE(openAfterError);
  ASSERT_EQ(watcher->boxes.size(), 1u);
  EXPECT_EQ(watcher->boxes[0].title, "EInOutError");
  EXPECT_EQ(watcher->boxes[0].text, "File not found");
  EXPECT_FALSE(form.Showing());
}

TEST_F(QtBackendTest, APlotImageShowsItsPictureAtItsPixelsAndPassesTheMouseOn) {
  Image* plot = Form1->Image1;
  Application::dispatch([&] {
    plot->Canvas().Brush.Color = clRed;
    plot->Canvas().FillRect(10, 20, 30, 40);
    plot->Invalidate();
  });
  QWidget* view = widget<QWidget>("Image1");
  EXPECT_EQ(view->size(), QSize(673, 800));
  const QImage shown = view->grab().toImage();
  EXPECT_EQ(shown.pixelColor(10, 20), QColor(Qt::red));
  EXPECT_EQ(shown.pixelColor(29, 39), QColor(Qt::red));
  EXPECT_EQ(shown.pixelColor(30, 40), QColor(Qt::white));

  std::vector<std::string> events;
  auto name = [](MouseButton button) { return button == MouseButton::Left ? "left" : "right"; };
  plot->OnMouseDown = [&](MouseButton button, int x, int y) {
    events.push_back(std::string("down ") + name(button) + " " + std::to_string(x) + " " +
                     std::to_string(y));
  };
  plot->OnMouseMove = [&](int x, int y) {
    events.push_back("move " + std::to_string(x) + " " + std::to_string(y));
  };
  plot->OnMouseUp = [&](MouseButton button, int x, int y) {
    events.push_back(std::string("up ") + name(button) + " " + std::to_string(x) + " " +
                     std::to_string(y));
  };
  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(120, 300));
  QTest::mouseMove(view, QPoint(130, 310));
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(140, 320));
  QTest::mouseClick(view, Qt::RightButton, {}, QPoint(5, 6));
  EXPECT_EQ(events, (std::vector<std::string>{"down left 120 300", "move 130 310",
                                              "up left 140 320", "down right 5 6",
                                              "up right 5 6"}));
}

TEST_F(QtBackendTest, FilesDroppedOnTheMainWindowReachItsDropHandler) {
  std::vector<std::string> dropped;
  Form1->OnDropFiles = [&](const std::vector<std::string>& files) { dropped = files; };
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile("/data/run 1.cd.bil"), QUrl("https://example.org/x.log"),
                QUrl::fromLocalFile("/data/b.uv.bil")});

  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &drop);
  EXPECT_TRUE(waitFor([&] { return !dropped.empty(); }));
  EXPECT_EQ(dropped, (std::vector<std::string>{"/data/run 1.cd.bil", "/data/b.uv.bil"}));

  // A window that takes no files refuses them.
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(backend->window(*Form2), &refused);
  EXPECT_FALSE(refused.isAccepted());
}

TEST_F(QtBackendTest, AnOpenDialogOffersTheProgramsFiltersAndReturnsEveryFileChosen) {
  TempFolder files;
  writeTextFile(files.file("a.cd.bil"), "");
  writeTextFile(files.file("b.cd.bil"), "");
  OpenDialog* open = Form1->OpenDialog2;
  open->MultiSelect = true;
  open->FilterIndex = 3;
  open->InitialDir = files.path();

  watcher->onModal([&](QWidget* window) {
    auto* chooser = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->nameFilters(),
              QStringList({"exp.xy-files (*.exp.xy)",
                           "calculations (*.out,*.log,*.dat) (*.out *.log *.dat)",
                           "cd.bil-files (*.cd.bil)", "all Files (*)"}));
    // A person sees the program's captions and the filter it chose.
    EXPECT_TRUE(chooser->testOption(QFileDialog::HideNameFilterDetails));
    EXPECT_EQ(chooser->selectedNameFilter(), "cd.bil-files");
    EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFiles);
    chooser->selectNameFilter(chooser->nameFilters()[3]);
    widget<QLineEdit>("fileNameEdit", chooser)->setText("\"a.cd.bil\" \"b.cd.bil\"");
    static_cast<QDialog*>(chooser)->accept();
  });
  bool chosen = false;
  Application::dispatch([&] { chosen = open->Execute(); });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(open->Files, (std::vector<std::string>{files.file("a.cd.bil"), files.file("b.cd.bil")}));
  EXPECT_EQ(open->FileName, files.file("a.cd.bil"));
  EXPECT_EQ(open->FilterIndex, 4);

  watcher->onModal([](QWidget* window) { window->close(); });
  Application::dispatch([&] { chosen = open->Execute(); });
  EXPECT_FALSE(chosen);
}

TEST_F(QtBackendTest, ASaveDialogAddsTheChosenFiltersEndingAndAsksNoQuestion) {
  TempFolder files;
  writeTextFile(files.file("mol.cd.bil"), "");
  SaveDialog* save = Form1->SaveDialog1;  // filters *.cd.bil, *.uv.bil and all files
  save->InitialDir = files.path();

  struct Case {
    const char* typed;
    int filter;
    const char* returned;
    const char* why;
  };
  for (const Case& c : {Case{"result", 1, "result.cd.bil", "a name without ending gets the filter's"},
                        Case{"mol", 1, "mol.cd.bil", "an existing file: the program asks itself"},
                        Case{"mol.cd", 1, "mol.cd.bil", "the preset lacks only \".bil\""},
                        Case{"spectrum", 2, "spectrum.uv.bil", "the filter the person chose counts"},
                        Case{"notes.txt", 3, "notes.txt", "all files: the name as typed"}}) {
    SCOPED_TRACE(c.why);
    save->FileName = "mol";  // preset from the main window's caption
    save->FilterIndex = 1;
    watcher->onModal([&](QWidget* window) {
      auto* chooser = qobject_cast<QFileDialog*>(window);
      ASSERT_NE(chooser, nullptr);
      EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(chooser->directory().absolutePath().toStdString(), files.path());
      auto* name = widget<QLineEdit>("fileNameEdit", chooser);
      EXPECT_EQ(name->text(), "mol");
      chooser->selectNameFilter(chooser->nameFilters()[c.filter - 1]);
      name->setText(c.typed);
      static_cast<QDialog*>(chooser)->accept();
    });
    bool chosen = false;
    Application::dispatch([&] { chosen = save->Execute(); });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(save->FileName, files.file(c.returned));
  }
  EXPECT_TRUE(watcher->boxes.empty());

  // Without a folder of its own the dialog starts where the last file came from.
  save->InitialDir.clear();
  save->FileName = "x";
  std::string started;
  watcher->onModal([&](QWidget* window) {
    started = qobject_cast<QFileDialog*>(window)->directory().absolutePath().toStdString();
    window->close();
  });
  Application::dispatch([&] { save->Execute(); });
  EXPECT_EQ(started, files.path());
}

TEST_F(QtBackendTest, TheFolderPickerReturnsTheChosenFolder) {
  TempFolder files;
  SelectDirectoryDialog* picker = Form2->SelectDirectoryDialog1;
  picker->InitialDir = files.path();
  watcher->onModal([](QWidget* window) {
    auto* chooser = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
    static_cast<QDialog*>(chooser)->accept();
  });
  bool chosen = false;
  Application::dispatch([&] { chosen = picker->Execute(); });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(picker->FileName, files.path());
}

TEST_F(QtBackendTest, MessageAndQuestionBoxesShowTheProgramsTexts) {
  watcher->answer(QMessageBox::Yes);
  watcher->answer(QMessageBox::No);
  Answer first = Answer::No;
  Answer second = Answer::Yes;
  Application::dispatch([&] {
    ShowMessage("File saved!");
    first = AskYesNo("Overwrite", "File \"a.cd.bil\" exists. Overwrite?");
    second = AskYesNo("Overwrite", "File \"a.cd.bil\" exists. Overwrite?");
  });
  EXPECT_EQ(first, Answer::Yes);
  EXPECT_EQ(second, Answer::No);
  ASSERT_EQ(watcher->boxes.size(), 3u);
  EXPECT_EQ(watcher->boxes[0].text, "File saved!");
  EXPECT_EQ(watcher->boxes[1].icon, QMessageBox::Question);
  EXPECT_EQ(watcher->boxes[1].title, "Overwrite");
  EXPECT_EQ(watcher->boxes[1].text, "File \"a.cd.bil\" exists. Overwrite?");
}

TEST_F(QtBackendTest, TheProgressBarAndThePlotRepaintWhileALongHandlerRuns) {
  auto* bar = widget<QProgressBar>("ProgressBar1");
  QWidget* plot = widget<QWidget>("Image1");
  PaintCounter barPaints(bar);
  PaintCounter plotPaints(plot);
  int value = -1;
  int barPainted = 0;
  int plotPainted = 0;
  Application::dispatch([&] {
    Form1->Image1->Canvas().FillRect(0, 0, 50, 50);
    Form1->Image1->Invalidate();
    QThread::msleep(20);  // the handler's work
    Form1->ProgressBar1->SetPosition(40);
    value = bar->value();
    barPainted = barPaints.count;
    plotPainted = plotPaints.count;
  });
  EXPECT_EQ(value, 40);
  EXPECT_GT(barPainted, 0);
  EXPECT_GT(plotPainted, 0);
}

TEST_F(QtBackendTest, CaptionsStatesAndPagesFollowTheProgramBothWays) {
  Application::dispatch([] {
    Form1->SetCaption("/data/mol.cd.bil");
    Form1->Label11->SetCaption("12");
    Form1->Label35->SetVisible(true);
    Form1->Edit4->SetEnabled(false);
    Form1->Memo1->Add("scale factor 1: 1.00");
    Form1->Memo1->Add("scale factor 2: 0.");
    Form1->Memo1->AppendToLastLine("85");
    Form1->PageControl1->SetActivePage(Form1->TabSheet4);
  });
  EXPECT_EQ(main->windowTitle(), "/data/mol.cd.bil");
  EXPECT_EQ(widget<QLabel>("Label11")->text(), "12");
  EXPECT_FALSE(widget<QLabel>("Label35")->isHidden());
  EXPECT_FALSE(widget<QLineEdit>("Edit4")->isEnabled());
  auto* memo = widget<QPlainTextEdit>("Memo1");
  EXPECT_EQ(memo->toPlainText(), "scale factor 1: 1.00\nscale factor 2: 0.85");
  auto* pages = widget<QTabWidget>("PageControl1");
  EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheet4");
  EXPECT_EQ(widget<QLineEdit>("Edit3")->geometry(), QRect(800, 8, 70, 22));

  Application::SetTitle("Orvanix");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Orvanix");
  Application::SetTitle("");

  // A person's side: a tab clicked, a line typed.
  QTabBar* tabs = pages->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet5);
  Application::dispatch([] { Form1->Memo1->Clear(); });
  QTest::keyClicks(memo, "note");
  EXPECT_EQ(Form1->Memo1->Lines(), (std::vector<std::string>{"note"}));
}

TEST_F(QtBackendTest, ClosingTheMainWindowEndsTheRun) {
  struct Way {
    const char* name;
    std::function<void()> close;
  };
  const Way ways[] = {
      {"File > Quit", [this] { widget<QAction>("Quit1")->trigger(); }},
      {"the window's close button", [this] { main->close(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    QTimer::singleShot(0, way.close);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] {
      ADD_FAILURE() << "the run went on";
      Form1->Close();
    });
    giveUp.start(3000);
    backend->Run(*Form1);
    EXPECT_TRUE(giveUp.isActive());
    EXPECT_FALSE(Form1->Showing());
    EXPECT_FALSE(main->isVisible());
  }
}

}  // namespace
