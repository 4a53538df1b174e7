// The desktop shell: opening a web page in the user's browser.
#pragma once

#include <functional>
#include <string>

// Asks the desktop to open `url` and returns at once; failures are ignored.
// Goes through OpenURLHook().
void OpenURL(const std::string& url);

// What OpenURL does; tests replace it to record the calls. Starts as
// OpenURLWithDesktop; an empty hook opens nothing.
std::function<void(const std::string&)>& OpenURLHook();

// Starts xdg-open with the URL, without a shell and without waiting.
void OpenURLWithDesktop(const std::string& url);
