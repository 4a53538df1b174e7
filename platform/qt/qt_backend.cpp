#include "platform/qt/qt_backend.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

namespace {

// The face the windows' layouts fit (metrics of Arial), where installed.
const char* const LayoutFontFamily = "Liberation Sans";

QString toQt(const std::string& text) { return QString::fromStdString(text); }
std::string fromQt(const QString& text) { return text.toStdString(); }

// The program may join paths with '\'; the dialogs want '/'.
QString toQtPath(const std::string& path) {
  QString qtPath = toQt(path);
  qtPath.replace('\\', '/');
  return qtPath;
}

MouseButton mouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    case Qt::BackButton:
      return MouseButton::Extra1;
    case Qt::ForwardButton:
      return MouseButton::Extra2;
    default:
      return MouseButton::Left;
  }
}

std::vector<std::string> localFiles(const QMimeData* mime) {
  std::vector<std::string> paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) paths.push_back(fromQt(url.toLocalFile()));
  return paths;
}

// "Caption (masks)" with the masks blank-separated, as QFileDialog reads a
// filter; the details are hidden so a person sees the program's caption.
// "*.*" means every file, also those without a dot in their names.
QStringList nameFilters(const std::vector<FileFilter>& filters) {
  QStringList list;
  for (const FileFilter& filter : filters) {
    QStringList masks = toQt(filter.Masks).split(';', Qt::SkipEmptyParts);
    for (QString& mask : masks) {
      mask = mask.trimmed();
      if (mask == "*.*") mask = "*";
    }
    list << toQt(filter.Caption) + " (" + masks.join(' ') + ")";
  }
  return list;
}

void setFilters(QFileDialog& dialog, const std::vector<FileFilter>& filters, int filterIndex) {
  const QStringList list = nameFilters(filters);
  if (list.isEmpty()) return;
  dialog.setNameFilters(list);
  if (filterIndex >= 1 && filterIndex <= list.size()) dialog.selectNameFilter(list[filterIndex - 1]);
}

// The filter a person left chosen, 1-based. With the details hidden the
// dialog names it by its caption alone.
int chosenFilterIndex(const QFileDialog& dialog, const std::vector<FileFilter>& filters,
                      int previous) {
  const QString chosen = dialog.selectedNameFilter();
  const QStringList list = nameFilters(filters);
  for (qsizetype i = 0; i < list.size(); ++i)
    if (chosen == list[i] || chosen == toQt(filters[static_cast<size_t>(i)].Caption).trimmed())
      return static_cast<int>(i) + 1;
  return previous;
}

QRect screenArea(const QWidget* near) {
  QScreen* screen = near != nullptr && near->screen() != nullptr ? near->screen()
                                                                  : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}

}  // namespace

class FormWindow;

// What the back end keeps for one control.
struct ControlView {
  Control* control = nullptr;
  QWidget* widget = nullptr;    // null for menus and dialogs
  QAction* action = nullptr;    // menu items
  QMenu* menu = nullptr;        // menu items that hold items
  QMenuBar* menuBar = nullptr;  // the main menu
  QTabWidget* tabs = nullptr;   // a page control, and the page control of a tab sheet
  // What a memo widget shows; a hidden memo is brought up to date when shown.
  std::vector<std::string> shownLines;
  bool linesStale = false;
};

// What the back end keeps for one window.
struct WindowView {
  Form* form = nullptr;
  QPointer<FormWindow> widget;
  QWidget* client = nullptr;  // the area the controls' bounds refer to
  QMenuBar* menuBar = nullptr;
  std::vector<std::unique_ptr<ControlView>> controls;
  QEventLoop* modalLoop = nullptr;
  bool placed = false;
};

struct QtBackend::Impl {
  explicit Impl(QtBackend& backend) : backend(backend), context(std::make_unique<QObject>()) {}
  ~Impl();

  QtBackend& backend;
  // Every connection to a widget lives in this object, so none outlives it.
  std::unique_ptr<QObject> context;
  std::vector<std::unique_ptr<WindowView>> windows;
  Form* mainForm = nullptr;
  QEventLoop* runLoop = nullptr;
  std::vector<WindowView*> modalStack;
  // Above zero while widgets are being set from the program's state: no
  // widget signal may then enter the program.
  int updating = 0;
  // Widgets changed while a handler runs, repainted at the next paint point.
  std::set<QWidget*> dirty;
  QElapsedTimer sinceRepaint;
  bool quitOnLastWindowClosed = true;
  QFont desktopFont;

  struct Updating {
    explicit Updating(Impl& impl) : impl(impl) { ++impl.updating; }
    ~Updating() { --impl.updating; }
    Impl& impl;
  };

  static ControlView* viewOf(const Control& control) {
    return control.Kind() == ControlKind::Form ? nullptr
                                                : static_cast<ControlView*>(control.BackendData);
  }
  static WindowView* windowOf(const Form& form) { return static_cast<WindowView*>(form.BackendData); }

  WindowView& build(Form& form);
  void buildControls(WindowView& window);
  void createView(WindowView& window, Control& control);
  void connectInput(ControlView& view);

  void apply(ControlView& view, ControlChange what);
  void applyAll(ControlView& view);
  void applyCaption(ControlView& view);
  void applyEnabled(ControlView& view);
  void applyVisible(ControlView& view);
  void applyBounds(ControlView& view);
  void applyValue(ControlView& view);
  void syncLines(ControlView& view);
  void applyForm(WindowView& window, ControlChange what);

  void markDirty(QWidget* widget);
  void repaintDirty();

  QWidget* mainWidget() const;
  QWidget* dialogParent() const;
  void place(WindowView& window);
  void show(WindowView& window, bool modal);
  void closeRequested(Form& form) { backend.CloseForm(form); }
};

// A top-level window of the program. Closing it hides it; files dropped on
// it reach the form's drop handler.
class FormWindow : public QWidget {
 public:
  FormWindow(QtBackend::Impl& impl, Form& form, Qt::WindowFlags flags)
      : QWidget(nullptr, flags), impl_(impl), form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (form_.CloseBox) impl_.closeRequested(form_);
  }
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (form_.AllowDropFiles && !localFiles(event->mimeData()).empty()) event->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (form_.AllowDropFiles) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    std::vector<std::string> paths = localFiles(event->mimeData());
    if (!form_.AllowDropFiles || paths.empty()) return;
    event->acceptProposedAction();
    // Opened once the drop is over, so the program a file came from is not
    // kept waiting while it loads.
    Form* form = &form_;
    QTimer::singleShot(0, impl_.context.get(), [form, paths] {
      Application::dispatch([&] {
        if (form->OnDropFiles) form->OnDropFiles(paths);
      });
    });
  }

 private:
  QtBackend::Impl& impl_;
  Form& form_;
};

// A plot image: its picture at 1:1 pixels, mouse events to its handlers.
class ImageView : public QWidget {
 public:
  ImageView(Image& image, QWidget* parent) : QWidget(parent), image_(image) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QImage& picture = image_.Picture().image();
    painter.drawImage(0, 0, picture);
    // Whatever the picture leaves uncovered shows the window's background.
    const QRegion rest = QRegion(rect()) - QRegion(0, 0, picture.width(), picture.height());
    for (const QRect& part : rest) painter.fillRect(part, palette().window());
  }
  void mousePressEvent(QMouseEvent* event) override { down(event); }
  // The second press of a double click is a press like the first.
  void mouseDoubleClickEvent(QMouseEvent* event) override { down(event); }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    Image& image = image_;
    Application::dispatch([&] {
      if (image.OnMouseMove) image.OnMouseMove(at.x(), at.y());
    });
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    const MouseButton button = mouseButtonOf(event->button());
    Image& image = image_;
    Application::dispatch([&] {
      if (image.OnMouseUp) image.OnMouseUp(button, at.x(), at.y());
    });
  }

 private:
  void down(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const MouseButton button = mouseButtonOf(event->button());
    Image& image = image_;
    Application::dispatch([&] {
      if (image.OnMouseDown) image.OnMouseDown(button, at.x(), at.y());
    });
  }

  Image& image_;
};

QtBackend::Impl::~Impl() {
  context.reset();
  dirty.clear();
  for (auto& window : windows) delete window->widget.data();
}

// ---- Building windows -------------------------------------------------------

WindowView& QtBackend::Impl::build(Form& form) {
  if (WindowView* existing = windowOf(form)) return *existing;
  Updating updating(*this);

  auto window = std::make_unique<WindowView>();
  window->form = &form;
  // A window with a main menu is a main window; the others are dialogs.
  Qt::WindowFlags flags = form.Menu() != nullptr ? Qt::Window : Qt::Dialog;
  // A title without close box (and so without system menu).
  if (!form.CloseBox) flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  auto* widget = new FormWindow(*this, form, flags);
  window->widget = widget;
  widget->setObjectName(toQt(form.Name()));
  widget->setWindowTitle(toQt(form.Caption()));
  widget->setAcceptDrops(form.AllowDropFiles);

  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (form.Menu() != nullptr) {
    window->menuBar = new QMenuBar(widget);
    window->menuBar->setObjectName(toQt(form.Menu()->Name()));
    layout->setMenuBar(window->menuBar);
  }
  // The controls sit at their declared pixel positions; a screen too small
  // for the window scrolls it.
  auto* scroll = new QScrollArea(widget);
  scroll->setFrameShape(QFrame::NoFrame);
  window->client = new QWidget;
  window->client->setObjectName(toQt(form.Name() + "Client"));
  window->client->setFixedSize(form.Bounds().Width, form.Bounds().Height);
  scroll->setWidget(window->client);
  layout->addWidget(scroll);

  form.BackendData = window.get();
  WindowView& built = *window;
  windows.push_back(std::move(window));
  buildControls(built);
  applyForm(built, ControlChange::Bounds);
  return built;
}

void QtBackend::Impl::buildControls(WindowView& window) {
  Updating updating(*this);
  std::vector<ControlView*> created;
  // Declaration order puts every parent before its children.
  for (Control* control : window.form->AllControls()) {
    if (control->BackendData != nullptr) continue;
    createView(window, *control);
    if (ControlView* view = viewOf(*control)) created.push_back(view);
  }
  for (ControlView* view : created) applyAll(*view);
  for (ControlView* view : created) connectInput(*view);
}

void QtBackend::Impl::createView(WindowView& window, Control& control) {
  auto view = std::make_unique<ControlView>();
  view->control = &control;
  ControlView* parentView = control.Parent() != nullptr ? viewOf(*control.Parent()) : nullptr;
  QWidget* container = parentView != nullptr && parentView->widget != nullptr ? parentView->widget
                                                                              : window.client;
  switch (control.Kind()) {
    case ControlKind::Label: {
      auto* label = new QLabel(container);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      const auto& model = static_cast<Label&>(control);
      if (model.FontSize > 0) {
        QFont font = label->font();
        font.setPointSize(model.FontSize);
        label->setFont(font);
      }
      if (model.OnClick) {
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        label->setCursor(Qt::PointingHandCursor);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Link, QColor(0, 0, 255));
        label->setPalette(palette);
      }
      view->widget = label;
      break;
    }
    case ControlKind::Edit:
      view->widget = new QLineEdit(container);
      break;
    case ControlKind::Button: {
      auto* button = new QPushButton(container);
      button->setAutoDefault(false);
      view->widget = button;
      break;
    }
    case ControlKind::CheckBox:
      view->widget = new QCheckBox(container);
      break;
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(container);
      // The group's exclusivity is the program's own (controls.cpp); Qt's
      // would change the model's radios behind its back.
      radio->setAutoExclusive(false);
      view->widget = radio;
      break;
    }
    case ControlKind::GroupBox:
      view->widget = new QGroupBox(container);
      break;
    case ControlKind::Memo: {
      auto* memo = new QPlainTextEdit(container);
      memo->setReadOnly(static_cast<Memo&>(control).ReadOnly);
      view->widget = memo;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(container);
      bar->setTextVisible(false);
      view->widget = bar;
      break;
    }
    case ControlKind::PageControl: {
      auto* tabs = new QTabWidget(container);
      view->widget = tabs;
      view->tabs = tabs;
      break;
    }
    case ControlKind::TabSheet: {
      if (parentView == nullptr || parentView->tabs == nullptr) return;
      auto* page = new QWidget;
      view->tabs = parentView->tabs;
      view->tabs->addTab(page, toQt(control.Caption()));
      view->widget = page;
      break;
    }
    case ControlKind::Image:
      view->widget = new ImageView(static_cast<Image&>(control), container);
      break;
    case ControlKind::MainMenu:
      view->menuBar = window.menuBar;
      break;
    case ControlKind::MenuItem: {
      if (parentView == nullptr) return;
      QWidget* owner = parentView->menu != nullptr ? static_cast<QWidget*>(parentView->menu)
                                                   : static_cast<QWidget*>(parentView->menuBar);
      if (owner == nullptr) return;
      const auto& item = static_cast<MenuItem&>(control);
      if (!item.Items().empty()) {
        auto* menu = new QMenu(toQt(item.Caption()), owner);
        menu->setObjectName(toQt(control.Name()));
        if (parentView->menu != nullptr)
          parentView->menu->addMenu(menu);
        else
          parentView->menuBar->addMenu(menu);
        view->menu = menu;
        view->action = menu->menuAction();
      } else {
        view->action = new QAction(toQt(item.Caption()), owner);
        owner->addAction(view->action);
      }
      view->action->setObjectName(toQt(control.Name()));
      break;
    }
    case ControlKind::Form:
    case ControlKind::OpenDialog:
    case ControlKind::SaveDialog:
    case ControlKind::SelectDirectoryDialog:
      return;
  }
  if (view->widget != nullptr) {
    view->widget->setObjectName(toQt(control.Name()));
    // Files dropped anywhere on a window that takes them go to the window,
    // not as text into an edit.
    if (window.form->AllowDropFiles && control.Kind() == ControlKind::Edit)
      view->widget->setAcceptDrops(false);
    if (window.form->AllowDropFiles && control.Kind() == ControlKind::Memo) {
      view->widget->setAcceptDrops(false);
      static_cast<QPlainTextEdit*>(view->widget)->viewport()->setAcceptDrops(false);
    }
  }
  control.BackendData = view.get();
  window.controls.push_back(std::move(view));
}

// A person's input enters the program through dispatch; afterwards the
// widget shows the model again, whatever the handlers made of it.
void QtBackend::Impl::connectInput(ControlView& view) {
  QObject* ctx = context.get();
  Control& control = *view.control;
  switch (control.Kind()) {
    case ControlKind::Label: {
      auto& label = static_cast<Label&>(control);
      if (!label.OnClick) break;
      QObject::connect(static_cast<QLabel*>(view.widget), &QLabel::linkActivated, ctx,
                       [this, &label](const QString&) {
                         if (updating > 0) return;
                         Application::dispatch([&] {
                           if (label.OnClick) label.OnClick();
                         });
                       });
      break;
    }
    case ControlKind::Edit: {
      auto& edit = static_cast<Edit&>(control);
      ControlView* v = &view;
      QObject::connect(static_cast<QLineEdit*>(view.widget), &QLineEdit::textEdited, ctx,
                       [this, &edit, v](const QString& text) {
                         if (updating > 0) return;
                         const std::string typed = fromQt(text);
                         Application::dispatch([&] { edit.SetText(typed); });
                         apply(*v, ControlChange::Value);
                       });
      break;
    }
    case ControlKind::Button: {
      auto& button = static_cast<Button&>(control);
      QObject::connect(static_cast<QPushButton*>(view.widget), &QPushButton::clicked, ctx,
                       [this, &button] {
                         if (updating > 0) return;
                         Application::dispatch([&] { button.Click(); });
                       });
      break;
    }
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(control);
      ControlView* v = &view;
      QObject::connect(static_cast<QCheckBox*>(view.widget), &QCheckBox::clicked, ctx,
                       [this, &box, v](bool checked) {
                         if (updating > 0) return;
                         Application::dispatch([&] { box.SetChecked(checked); });
                         apply(*v, ControlChange::Value);
                       });
      break;
    }
    case ControlKind::RadioButton: {
      auto& radio = static_cast<RadioButton&>(control);
      ControlView* v = &view;
      // A click ticks the radio; clicking a ticked one leaves it ticked.
      QObject::connect(static_cast<QRadioButton*>(view.widget), &QRadioButton::clicked, ctx,
                       [this, &radio, v] {
                         if (updating > 0) return;
                         Application::dispatch([&] { radio.SetChecked(true); });
                         apply(*v, ControlChange::Value);
                       });
      break;
    }
    case ControlKind::Memo: {
      auto& memo = static_cast<Memo&>(control);
      ControlView* v = &view;
      auto* widget = static_cast<QPlainTextEdit*>(view.widget);
      QObject::connect(widget, &QPlainTextEdit::textChanged, ctx, [this, &memo, v, widget] {
        if (updating > 0) return;
        const QString text = widget->toPlainText();
        std::vector<std::string> lines;
        if (!text.isEmpty())
          for (const QString& line : text.split('\n')) lines.push_back(fromQt(line));
        v->shownLines = lines;
        v->linesStale = false;
        Application::dispatch([&] { memo.SetLines(lines); });
      });
      break;
    }
    case ControlKind::PageControl: {
      auto& pages = static_cast<PageControl&>(control);
      ControlView* v = &view;
      QObject::connect(view.tabs, &QTabWidget::currentChanged, ctx, [this, &pages, v](int index) {
        if (updating > 0) return;
        QWidget* shown = v->tabs->widget(index);
        TabSheet* sheet = nullptr;
        for (TabSheet* page : pages.Pages()) {
          ControlView* pageView = viewOf(*page);
          if (pageView != nullptr && pageView->widget == shown) sheet = page;
        }
        if (sheet == nullptr) return;
        Application::dispatch([&] { pages.SetActivePage(sheet); });
        apply(*v, ControlChange::Value);
      });
      break;
    }
    case ControlKind::MenuItem: {
      auto& item = static_cast<MenuItem&>(control);
      if (view.menu != nullptr) {
        // A menu that holds items runs its own click handler as it opens.
        QObject::connect(view.menu, &QMenu::aboutToShow, ctx, [this, &item] {
          if (updating > 0 || !item.OnClick) return;
          Application::dispatch([&] { item.Click(); });
        });
      } else {
        QObject::connect(view.action, &QAction::triggered, ctx, [this, &item] {
          // Qt checks the item itself; the program wants every parent
          // menu enabled as well.
          if (updating > 0 || !item.Reachable()) return;
          Application::dispatch([&] { item.Click(); });
        });
      }
      break;
    }
    default:
      break;
  }
}

// ---- Mirroring the program's state into the widgets ------------------------

void QtBackend::Impl::applyAll(ControlView& view) {
  for (ControlChange what : {ControlChange::Bounds, ControlChange::Caption, ControlChange::Enabled,
                             ControlChange::Visible, ControlChange::Value})
    apply(view, what);
}

void QtBackend::Impl::apply(ControlView& view, ControlChange what) {
  Updating updating(*this);
  switch (what) {
    case ControlChange::Caption:
      applyCaption(view);
      markDirty(view.widget);
      break;
    case ControlChange::Enabled:
      applyEnabled(view);
      markDirty(view.widget);
      break;
    case ControlChange::Visible:
      applyVisible(view);
      if (view.widget != nullptr) markDirty(view.widget->parentWidget());
      break;
    case ControlChange::Bounds:
      applyBounds(view);
      if (view.widget != nullptr) markDirty(view.widget->parentWidget());
      break;
    case ControlChange::Value:
    case ControlChange::Picture:
      applyValue(view);
      if (view.control->Kind() == ControlKind::Memo)
        markDirty(static_cast<QPlainTextEdit*>(view.widget)->viewport());
      else
        markDirty(view.widget);
      break;
    case ControlChange::Structure:
      break;
  }
}

void QtBackend::Impl::applyCaption(ControlView& view) {
  const Control& control = *view.control;
  const QString caption = toQt(control.Caption());
  switch (control.Kind()) {
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(view.widget);
      if (static_cast<const Label&>(control).OnClick) {
        label->setTextFormat(Qt::RichText);
        label->setText("<a href=\"#\"><b>" + caption.toHtmlEscaped() + "</b></a>");
      } else {
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
      }
      break;
    }
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      static_cast<QAbstractButton*>(view.widget)->setText(caption);
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(view.widget)->setTitle(caption);
      break;
    case ControlKind::TabSheet:
      view.tabs->setTabText(view.tabs->indexOf(view.widget), caption);
      break;
    case ControlKind::MenuItem:
      if (view.menu != nullptr) view.menu->setTitle(caption);
      view.action->setText(caption);
      break;
    default:
      break;
  }
}

void QtBackend::Impl::applyEnabled(ControlView& view) {
  const Control& control = *view.control;
  switch (control.Kind()) {
    case ControlKind::MenuItem:
      view.action->setEnabled(control.Enabled());
      break;
    case ControlKind::MainMenu:
      if (view.menuBar != nullptr) view.menuBar->setEnabled(control.Enabled());
      break;
    case ControlKind::TabSheet:
      view.tabs->setTabEnabled(view.tabs->indexOf(view.widget), control.Enabled());
      break;
    default:
      if (view.widget != nullptr) view.widget->setEnabled(control.Enabled());
      break;
  }
}

void QtBackend::Impl::applyVisible(ControlView& view) {
  const Control& control = *view.control;
  switch (control.Kind()) {
    case ControlKind::MenuItem:
      view.action->setVisible(control.Visible());
      break;
    case ControlKind::MainMenu:
      if (view.menuBar != nullptr) view.menuBar->setVisible(control.Visible());
      break;
    case ControlKind::TabSheet:
      view.tabs->setTabVisible(view.tabs->indexOf(view.widget), control.Visible());
      break;
    case ControlKind::Memo:
      view.widget->setVisible(control.Visible());
      if (control.Visible() && view.linesStale) syncLines(view);
      break;
    default:
      if (view.widget != nullptr) view.widget->setVisible(control.Visible());
      break;
  }
}

void QtBackend::Impl::applyBounds(ControlView& view) {
  switch (view.control->Kind()) {
    case ControlKind::TabSheet:
    case ControlKind::MenuItem:
    case ControlKind::MainMenu:
      return;
    default:
      break;
  }
  if (view.widget == nullptr) return;
  const TRect& bounds = view.control->Bounds();
  view.widget->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

void QtBackend::Impl::applyValue(ControlView& view) {
  Control& control = *view.control;
  switch (control.Kind()) {
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(view.widget);
      const QString text = toQt(static_cast<Edit&>(control).Text());
      // An edit being typed into already shows its text; setting it again
      // would move the cursor.
      if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
      }
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(view.widget);
      const QSignalBlocker blocker(box);
      box->setChecked(static_cast<CheckBox&>(control).Checked());
      break;
    }
    case ControlKind::RadioButton: {
      auto* radio = static_cast<QRadioButton*>(view.widget);
      const QSignalBlocker blocker(radio);
      radio->setChecked(static_cast<RadioButton&>(control).Checked());
      break;
    }
    case ControlKind::Memo:
      syncLines(view);
      break;
    case ControlKind::ProgressBar: {
      auto& progress = static_cast<ProgressBar&>(control);
      auto* bar = static_cast<QProgressBar*>(view.widget);
      bar->setRange(progress.Min, std::max(progress.Min, progress.Max));
      bar->setValue(progress.Position());
      break;
    }
    case ControlKind::PageControl: {
      TabSheet* active = static_cast<PageControl&>(control).ActivePage();
      ControlView* pageView = active != nullptr ? viewOf(*active) : nullptr;
      if (pageView != nullptr && pageView->widget != nullptr) {
        const QSignalBlocker blocker(view.tabs);
        view.tabs->setCurrentWidget(pageView->widget);
      }
      break;
    }
    case ControlKind::Image:
      view.widget->update();
      break;
    default:
      break;
  }
}

void QtBackend::Impl::syncLines(ControlView& view) {
  auto& memo = static_cast<Memo&>(*view.control);
  // A hidden memo (the line buffer of every file written) may hold a whole
  // file; it is shown, and so mirrored, only when it becomes visible.
  if (!memo.Visible()) {
    view.linesStale = true;
    return;
  }
  view.linesStale = false;
  auto* edit = static_cast<QPlainTextEdit*>(view.widget);
  const std::vector<std::string>& lines = memo.Lines();
  std::vector<std::string>& shown = view.shownLines;
  const QSignalBlocker blocker(edit);
  const bool appended = !shown.empty() && shown.size() <= lines.size() &&
                        std::equal(shown.begin(), shown.end(), lines.begin());
  if (appended) {
    // Log lines arrive one by one; append them rather than set the whole text.
    for (size_t i = shown.size(); i < lines.size(); ++i) edit->appendPlainText(toQt(lines[i]));
    shown.insert(shown.end(), lines.begin() + static_cast<std::ptrdiff_t>(shown.size()),
                 lines.end());
  } else if (shown != lines) {
    edit->setPlainText(toQt(memo.Text()));
    shown = lines;
  }
}

void QtBackend::Impl::applyForm(WindowView& window, ControlChange what) {
  Form& form = *window.form;
  FormWindow* widget = window.widget;
  if (widget == nullptr) return;
  Updating updating(*this);
  switch (what) {
    case ControlChange::Caption:
      widget->setWindowTitle(toQt(form.Caption()));
      break;
    case ControlChange::Enabled:
      widget->setEnabled(form.Enabled());
      break;
    case ControlChange::Bounds: {
      const TRect& bounds = form.Bounds();
      window.client->setFixedSize(bounds.Width, bounds.Height);
      const int menuHeight = window.menuBar != nullptr ? window.menuBar->sizeHint().height() : 0;
      const QSize whole(bounds.Width, bounds.Height + menuHeight);
      widget->setMaximumSize(whole);
      widget->resize(whole.boundedTo(screenArea(widget).size()));
      break;
    }
    case ControlChange::Structure:
      buildControls(window);
      break;
    default:
      // Showing and hiding a window goes through Show, ShowModal and Close.
      break;
  }
}

void QtBackend::Impl::markDirty(QWidget* widget) {
  if (widget != nullptr && Application::Dispatching()) dirty.insert(widget);
}

// Paints what a running handler changed, at most about sixty times a second.
// Only paint events are delivered here: the person's input waits until the
// handler has finished.
void QtBackend::Impl::repaintDirty() {
  if (dirty.empty()) return;
  if (sinceRepaint.isValid() && sinceRepaint.elapsed() < 15) return;
  std::set<QWidget*> widgets;
  widgets.swap(dirty);
  for (QWidget* widget : widgets)
    if (widget->isVisible()) widget->repaint();
  sinceRepaint.restart();
}

// ---- Showing windows --------------------------------------------------------

QWidget* QtBackend::Impl::mainWidget() const {
  if (mainForm != nullptr) {
    if (WindowView* window = windowOf(*mainForm)) return window->widget;
  }
  for (const auto& window : windows)
    if (window->form->Menu() != nullptr) return window->widget;
  return nullptr;
}

QWidget* QtBackend::Impl::dialogParent() const {
  if (!modalStack.empty() && modalStack.back()->widget != nullptr) return modalStack.back()->widget;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return mainWidget();
}

// A window opens once centred over the main window (the main window itself
// centred on its screen), and keeps its place afterwards.
void QtBackend::Impl::place(WindowView& window) {
  if (window.placed) return;
  window.placed = true;
  FormWindow* widget = window.widget;
  QWidget* main = mainWidget();
  const QRect area = screenArea(main != nullptr ? main : widget);
  QRect over = area;
  if (main != nullptr && main != widget && main->isVisible()) over = main->frameGeometry();
  QRect frame(QPoint(0, 0), widget->size());
  frame.moveCenter(over.center());
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
  widget->move(frame.topLeft());
}

void QtBackend::Impl::show(WindowView& window, bool modal) {
  FormWindow* widget = window.widget;
  const Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
  // Qt changes a window's modality only while it is hidden.
  if (widget->isVisible() && widget->windowModality() != modality) widget->hide();
  widget->setWindowModality(modality);
  place(window);
  QWidget* main = mainWidget();
  if (main != nullptr && main != widget) {
    // Keeps dialogs above the main window with window managers that care.
    widget->winId();
    if (widget->windowHandle() != nullptr && main->windowHandle() != nullptr)
      widget->windowHandle()->setTransientParent(main->windowHandle());
  }
  widget->show();
  widget->raise();
  widget->activateWindow();
}

// ---- QtBackend --------------------------------------------------------------

QtBackend::QtBackend() : impl_(std::make_unique<Impl>(*this)), previous_(&Application::backend()) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::logic_error("the Qt back end needs a QApplication");
  // The program ends when its main window closes, not when the last window
  // happens to be hidden (a modal window closing before the main one shows).
  impl_->quitOnLastWindowClosed = QGuiApplication::quitOnLastWindowClosed();
  QGuiApplication::setQuitOnLastWindowClosed(false);
  // The windows are laid out in pixels for text of Arial's widths at 9 pt;
  // DejaVu Sans, the usual Linux default, is a tenth wider and cuts captions.
  impl_->desktopFont = QApplication::font();
  if (QFontDatabase::hasFamily(LayoutFontFamily)) QApplication::setFont(QFont(LayoutFontFamily, 9));
  Application::SetBackend(this);
}

QtBackend::~QtBackend() {
  Application::SetBackend(previous_ == this ? nullptr : previous_);
  QGuiApplication::setQuitOnLastWindowClosed(impl_->quitOnLastWindowClosed);
  QApplication::setFont(impl_->desktopFont);
  impl_.reset();
}

QWidget* QtBackend::window(Form& form) { return impl_->build(form).widget; }

void QtBackend::ControlChanged(Control& control, ControlChange what) {
  if (control.BackendData == nullptr) return;  // built later, from the state it then has
  if (control.Kind() == ControlKind::Form) {
    impl_->applyForm(*Impl::windowOf(static_cast<Form&>(control)), what);
    return;
  }
  impl_->apply(*Impl::viewOf(control), what);
  if (Application::Dispatching()) impl_->repaintDirty();
}

void QtBackend::ProcessPaint() { impl_->repaintDirty(); }

void QtBackend::ShowModal(Form& form) {
  WindowView& window = impl_->build(form);
  if (window.modalLoop != nullptr) return;  // already open modally further up
  impl_->show(window, true);
  form.SetShowing(true, true);
  QEventLoop loop;
  window.modalLoop = &loop;
  impl_->modalStack.push_back(&window);
  {
    // The window's own events are actions of their own, each with its box.
    Application::ModalScope scope;
    loop.exec(QEventLoop::DialogExec);
  }
  impl_->modalStack.pop_back();
  window.modalLoop = nullptr;
  if (form.Showing()) CloseForm(form);
}

void QtBackend::ShowModeless(Form& form) {
  WindowView& window = impl_->build(form);
  impl_->show(window, false);
  form.SetShowing(true, false);
}

void QtBackend::CloseForm(Form& form) {
  WindowView* window = Impl::windowOf(form);
  if (window != nullptr && window->widget != nullptr) window->widget->hide();
  form.SetShowing(false, false);
  if (window != nullptr && window->modalLoop != nullptr) window->modalLoop->exit();
  if (&form == impl_->mainForm && impl_->runLoop != nullptr) impl_->runLoop->exit();
}

bool QtBackend::ExecuteOpen(OpenDialog& dialog) {
  QFileDialog chooser(impl_->dialogParent(), toQt(dialog.Title));
  chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setFileMode(dialog.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  setFilters(chooser, dialog.Filters, dialog.FilterIndex);
  chooser.setDirectory(toQtPath(dialog.InitialDir.empty() ? DialogStartFolder() : dialog.InitialDir));
  if (!dialog.FileName.empty()) chooser.selectFile(toQtPath(dialog.FileName));
  if (chooser.exec() != QDialog::Accepted) return false;
  dialog.Files.clear();
  for (const QString& file : chooser.selectedFiles()) dialog.Files.push_back(fromQt(file));
  if (!dialog.MultiSelect && dialog.Files.size() > 1) dialog.Files.resize(1);
  dialog.FileName = dialog.Files.empty() ? "" : dialog.Files.front();
  dialog.FilterIndex = chosenFilterIndex(chooser, dialog.Filters, dialog.FilterIndex);
  return !dialog.Files.empty();
}

bool QtBackend::ExecuteSave(SaveDialog& dialog) {
  QFileDialog chooser(impl_->dialogParent(), toQt(dialog.Title));
  // The program asks itself before it overwrites a file, and the ending of
  // the chosen filter is added by SaveDialog::Execute for both back ends: no
  // question and no ending here.
  chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                     QFileDialog::DontConfirmOverwrite);
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setFileMode(QFileDialog::AnyFile);
  chooser.setDefaultSuffix(QString());
  setFilters(chooser, dialog.Filters, dialog.FilterIndex);
  chooser.setDirectory(toQtPath(dialog.InitialDir.empty() ? DialogStartFolder() : dialog.InitialDir));
  if (!dialog.FileName.empty()) chooser.selectFile(toQtPath(dialog.FileName));
  if (chooser.exec() != QDialog::Accepted) return false;
  const QStringList chosen = chooser.selectedFiles();
  if (chosen.isEmpty()) return false;
  dialog.FileName = fromQt(chosen.front());
  dialog.FilterIndex = chosenFilterIndex(chooser, dialog.Filters, dialog.FilterIndex);
  return true;
}

bool QtBackend::ExecuteSelectDirectory(SelectDirectoryDialog& dialog) {
  QFileDialog chooser(impl_->dialogParent(), toQt(dialog.Title));
  chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setFileMode(QFileDialog::Directory);
  const std::string& start = !dialog.InitialDir.empty() ? dialog.InitialDir : dialog.FileName;
  if (!start.empty()) chooser.setDirectory(toQtPath(start));
  if (chooser.exec() != QDialog::Accepted) return false;
  const QStringList chosen = chooser.selectedFiles();
  if (chosen.isEmpty()) return false;
  dialog.FileName = fromQt(chosen.front());
  return true;
}

void QtBackend::MessageBox(const std::string& text) {
  const QString title = !Application::Title().empty() ? toQt(Application::Title())
                                                       : QGuiApplication::applicationDisplayName();
  QMessageBox box(QMessageBox::NoIcon, title, toQt(text), QMessageBox::Ok, impl_->dialogParent());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

Answer QtBackend::QuestionBox(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Question, toQt(caption), toQt(text),
                  QMessageBox::Yes | QMessageBox::No, impl_->dialogParent());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtBackend::ErrorBox(const std::string& className, const std::string& message) {
  QMessageBox box(QMessageBox::Critical, toQt(className), toQt(message), QMessageBox::Ok,
                  impl_->dialogParent());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtBackend::Run(Form& mainForm) {
  impl_->mainForm = &mainForm;
  if (!mainForm.Showing()) ShowModeless(mainForm);
  QEventLoop loop;
  impl_->runLoop = &loop;
  loop.exec();
  impl_->runLoop = nullptr;
}

void QtBackend::TitleChanged(const std::string& title) {
  QGuiApplication::setApplicationDisplayName(toQt(title));
}
