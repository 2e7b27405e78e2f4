#include "ui/OnFirstUse.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ulvan {
namespace {

TEST(OnFirstUse, MakesNothingUntilAskedThenOnceOnly) {
    int made = 0;
    OnFirstUse<std::string> window([&made] {
        ++made;
        return std::make_unique<std::string>("made");
    });
    EXPECT_FALSE(window.Made());
    EXPECT_EQ(made, 0);

    std::string& first = window.Get();
    EXPECT_TRUE(window.Made());
    first += " and changed"; // what a user left in the window
    EXPECT_EQ(&*window, &first);
    EXPECT_EQ(window->size(), first.size());
    EXPECT_EQ(window.Get(), "made and changed");
    EXPECT_EQ(made, 1);
}

} // namespace
} // namespace ulvan
