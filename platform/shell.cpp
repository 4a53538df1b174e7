#include "platform/shell.h"

#include <exception>

#include "platform/process.h"

void OpenURLWithDesktop(const std::string& url) {
  try {
    StartDetached("xdg-open", url);
  } catch (const std::exception&) {
    // No desktop opener: the page just does not open.
  }
}

std::function<void(const std::string&)>& OpenURLHook() {
  static std::function<void(const std::string&)> hook = OpenURLWithDesktop;
  return hook;
}

void OpenURL(const std::string& url) {
  if (OpenURLHook()) OpenURLHook()(url);
}
