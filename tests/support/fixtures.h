#pragma once
// Test fixtures under tests/fixtures, found from the source folder whatever folder
// the test runs in. A fixture that cannot be read throws, which fails the test that
// asked with the path in its message.
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#ifndef ZORV_FIXTURE_DIR
#error "ZORV_FIXTURE_DIR names tests/fixtures of the source folder (zorv_test sets it)"
#endif

namespace testing_support {

inline std::string FixturePath(const std::string& name) { return std::string(ZORV_FIXTURE_DIR) + "/" + name; }

// The whole file, byte for byte.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    return text.str();
}

inline std::string FixtureText(const std::string& name) { return ReadFile(FixturePath(name)); }

}  // namespace testing_support
