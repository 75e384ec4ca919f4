#pragma once
// The date and time as text, in the user's locale (LC_ALL, else LC_TIME, else
// LANG, read once): its short date, a blank, then its long time, such as
// "06/25/2021 03:04:05 PM" for en_US or "25.06.2021 15:04:05" for de_DE.
#include <chrono>
#include <ctime>
#include <string>

namespace os {

// The local date and time now (or at the test time).
std::string NowAsText();

// The given local date and time.
std::string DateTimeText(const std::tm& local);

// Reads the user's locale again from the environment (tests).
void ReadTimeLocale();

// Test seam: NowAsText shows this moment until UseRealNow.
void SetTestNow(std::chrono::system_clock::time_point moment);
void UseRealNow();

}  // namespace os
