#include "text/JText.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

TEST(JText, Smoke) { EXPECT_EQ(ToFullWidth("abc 123"), "ａｂｃ　１２３"_sj); }
