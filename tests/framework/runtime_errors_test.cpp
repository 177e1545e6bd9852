// The deliverables' own reports of the C++ runtime's errors: misuse of a
// container or string still throws, and the programs' catch (...) at thread
// and window-procedure boundaries still catches it, with the runtime's text.
#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

std::string WhatIsThrown(void (*misuse)()) {
    try {
        misuse();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "(not a std::exception)";
    }
    return "(nothing thrown)";
}

bool StartsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

TEST(RuntimeErrors, MisuseThrowsWithTheRuntimesText) {
    EXPECT_TRUE(StartsWith(WhatIsThrown([] { (void)std::vector<int>(2).at(5); }),
                           "vector::_M_range_check: __n (which is 5) >= this->size() (which is 2)"));
    EXPECT_TRUE(StartsWith(WhatIsThrown([] { (void)std::string("abc").substr(9); }),
                           "basic_string::substr: __pos (which is 9) > this->size() (which is 3)"));
    EXPECT_NE(WhatIsThrown([] {
                  const char* text = nullptr;
                  std::string s(text);
              }).find("null"),
              std::string::npos);
    EXPECT_NE(WhatIsThrown([] { std::string().reserve(std::string().max_size() + 1); }),
              "(nothing thrown)");
    // Running out of memory stays what it is.
    bool badAlloc = false;
    try {
        std::vector<char> huge(static_cast<size_t>(-1) / 2);
    } catch (const std::bad_alloc&) {
        badAlloc = true;
    } catch (...) {
    }
    EXPECT_TRUE(badAlloc);
}

}  // namespace
