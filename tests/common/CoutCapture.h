#ifndef ORFE_TESTS_COUTCAPTURE_H
#define ORFE_TESTS_COUTCAPTURE_H

// Captures what is written to std::cout during its lifetime (the library's
// informational lines), so that a test can read them and the log stays clean.

#include <iostream>
#include <sstream>
#include <string>

struct CoutCapture
{
    std::ostringstream text;
    std::streambuf* old;
    CoutCapture() : old(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;
    std::string str() const { return text.str(); }
};

#endif
