#include "platform/application.h"

#include <exception>

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/form.h"

namespace {
NullBackend nullBackend;
Backend* currentBackend = &nullBackend;
int dispatchDepth = 0;
std::string applicationTitle;
}  // namespace

void NullBackend::ShowModal(Form& form) {
  form.SetShowing(true, true);
  form.SetShowing(false, false);
}

void NullBackend::ShowModeless(Form& form) { form.SetShowing(true, false); }

void NullBackend::CloseForm(Form& form) { form.SetShowing(false, false); }

Answer NullBackend::QuestionBox(const std::string&, const std::string&) { return Answer::No; }

void Application::dispatch(const std::function<void()>& action) {
  if (dispatchDepth > 0) {
    // Inside a running action: the outermost dispatch shows the error box.
    action();
    return;
  }
  ++dispatchDepth;
  struct Leave {
    ~Leave() { --dispatchDepth; }
  } leave;
  try {
    action();
  } catch (const Exception& error) {
    currentBackend->ErrorBox(error.ClassName(), error.what());
  } catch (const std::bad_alloc&) {
    currentBackend->ErrorBox("EOutOfMemory", "Out of memory");
  } catch (const std::exception& error) {
    currentBackend->ErrorBox("Exception", error.what());
  }
}

bool Application::Dispatching() { return dispatchDepth > 0; }

Backend& Application::backend() { return *currentBackend; }

void Application::SetBackend(Backend* backend) {
  currentBackend = backend != nullptr ? backend : &nullBackend;
}

const std::string& Application::Title() { return applicationTitle; }

void Application::SetTitle(const std::string& title) {
  applicationTitle = title;
  currentBackend->TitleChanged(title);
}

Application::ModalScope::ModalScope() : savedDepth_(dispatchDepth) { dispatchDepth = 0; }

Application::ModalScope::~ModalScope() { dispatchDepth = savedDepth_; }
