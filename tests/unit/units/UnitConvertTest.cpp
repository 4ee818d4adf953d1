#include "text/Sjis.h"
#include "units/UnitConvert.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace nelo;

namespace {

TEST(UnitConvertTest, Table) {
    struct Row {
        int code;
        const char* word;
        const char* expected;
    } rows[] = {
        {1, "１０尺"_sj, "303.03センチメートルです。"_sj},
        {2, "１．５間"_sj, "2.72727メートルです。"_sj},
        {3, "１０００里"_sj, "3927.27キロメートルです。"_sj},
        {4, "１坪"_sj, "3.30578平方メートルです。"_sj},
        {4, "１００坪"_sj, "330.578平方メートルです。"_sj},
        {5, "１反"_sj, "9.91736アールです。"_sj},
        {6, "３町"_sj, "2.975208ヘクタールです。"_sj},
        {7, "１合"_sj, "0.18039リットルです。"_sj},
        {8, "１升"_sj, "1.8039リットルです。"_sj},
        {9, "１貫"_sj, "3.75キログラムです。"_sj},
        {10, "１斥"_sj, "600グラムです。"_sj},
        {10, "１斤"_sj, "600グラムです。"_sj},
        {1, "０．１尺"_sj, "3.0303センチメートルです。"_sj},
        {1, "尺"_sj, "0センチメートルです。"_sj},
        {7, "０．３３３合"_sj, "0.06007リットルです。"_sj},
        {1, "１．５．２尺"_sj, "45.4545センチメートルです。"_sj},
        {1, "．５尺"_sj, "15.1515センチメートルです。"_sj},
        {1, "５．尺"_sj, "151.515センチメートルです。"_sj},
    };
    for (const Row& r : rows) {
        std::string out = "old";
        EXPECT_EQ(ConvertUnit(r.code, r.word, out), 1) << r.word;
        EXPECT_EQ(out, r.expected) << r.word;
    }
}

TEST(UnitConvertTest, NotANumber) {
    const char* words[] = {"三尺"_sj, "約１０尺"_sj, "３時間"_sj, "－１尺"_sj, "１ｅ５尺"_sj, "ｉｎｆ尺"_sj};
    for (const char* w : words) {
        std::string out = "untouched";
        EXPECT_EQ(ConvertUnit(1, w, out), 0) << w;
        EXPECT_EQ(out, "untouched");
    }
    std::string out;
    EXPECT_EQ(ConvertUnit(0, "１年"_sj, out), 0);  // the year code is no unit
    EXPECT_EQ(ConvertUnit(11, "１尺"_sj, out), 0);
    EXPECT_EQ(ConvertUnit(1, "", out), 1);  // shorter than a unit character
    EXPECT_EQ(out, "0センチメートルです。"_sj);
}

TEST(UnitConvertTest, FactorsAreTheDecimalValues) {
    const double expected[11] = {0.0,      30.303,  1.81818, 3.92727, 3.30578, 9.91736,
                                 0.991736, 0.18039, 1.8039,  3.75,    600.0};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(kUnitFactors[i], expected[i]) << i;
}

TEST(UnitConvertTest, FormatUnitNumber) {
    struct Row {
        double value;
        const char* expected;
    } rows[] = {
        {303.03, "303.03"},
        {600.0, "600"},
        {0.0, "0"},
        {0.06006987, "0.06007"},
        {0.0000004, "0"},
        {0.0000006, "0.000001"},
        {1e20, "100000000000000000000"},
        {2.5, "2.5"},
        {10.0, "10"},
        {100.5, "100.5"},
    };
    for (const Row& r : rows) {
        std::string text = "old";
        FormatUnitNumber(r.value, text);
        EXPECT_EQ(text, r.expected) << r.value;
    }
    // Printed whole however large: 309 digits for the largest double.
    std::string text;
    FormatUnitNumber(DBL_MAX, text);
    EXPECT_EQ(text.size(), 309u);
    EXPECT_EQ(text.substr(0, 5), "17976");
}

}  // namespace
