#include "ui/PathShorteningUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Ten pixels per character keeps the expectations readable.
int Width(const QString& Text) {
    return int(Text.size()) * 10;
}

struct TCase {
    const char* Path;
    int MaxChars;
    const char* Expected;
};

TEST(PathShortening, DriveLettersAndBackslashes) {
    const char* Full = "C:\\projects\\pathways\\2016\\dike.pathway";
    const TCase Cases[] = {
        {Full, 100, "C:\\projects\\pathways\\2016\\dike.pathway"},
        {Full, 34, "C:\\...\\pathways\\2016\\dike.pathway"},
        {Full, 24, "C:\\...\\2016\\dike.pathway"},
        {Full, 19, "C:\\...\\dike.pathway"},
        {Full, 16, "...\\dike.pathway"},
        {Full, 15, "dike.pathway"},
        {Full, 1, "dike.pathway"},
        {"C:dike.pathway", 14, "C:dike.pathway"},
        {"C:dike.pathway", 13, "dike.pathway"},
        {"ab\\cd\\dike.pathway", 16, "...\\dike.pathway"},
        {"C:/data/dike.pathway", 19, "C:/.../dike.pathway"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ShortenPathWith(C.Path, C.MaxChars * 10, Width, true), C.Expected)
            << C.Path << " in " << C.MaxChars;
}

TEST(PathShortening, SlashesElsewhere) {
    const char* Full = "/home/ana/pathways/2016/dike.pathway";
    const TCase Cases[] = {
        {Full, 100, "/home/ana/pathways/2016/dike.pathway"},
        {Full, 35, "/.../ana/pathways/2016/dike.pathway"},
        {Full, 31, "/.../pathways/2016/dike.pathway"},
        {Full, 22, "/.../2016/dike.pathway"},
        {Full, 17, "/.../dike.pathway"},
        {Full, 16, ".../dike.pathway"},
        {Full, 12, "dike.pathway"},
        {"/dike.pathway", 12, "dike.pathway"},
        {"dike.pathway", 3, "dike.pathway"},
        // a backslash is an ordinary character here
        {"/data/odd\\name.pathway", 17, "odd\\name.pathway"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ShortenPathWith(C.Path, C.MaxChars * 10, Width, false), C.Expected)
            << C.Path << " in " << C.MaxChars;
}

} // namespace
