#include "widgets/ModalSeamUnit.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ModalSeam, FilterEntriesShowTheirPatternOnce) {
    const QStringList Pathway = FilterToNameFilters(
        QStringLiteral("pathway files [*.pathway]|*.pathway|all files [*.*]|*.*"));
#ifdef Q_OS_WIN
    const QString All = QStringLiteral("all files (*.*)");
#else
    const QString All = QStringLiteral("all files (*)");
#endif
    EXPECT_EQ(Pathway, QStringList({QStringLiteral("pathway files (*.pathway)"), All}));
    // Descriptions without brackets and lists of patterns pass as they are.
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("Images|*.png;*.svg")),
              QStringList({QStringLiteral("Images (*.png *.svg)")}));
    EXPECT_TRUE(FilterToNameFilters(QString()).isEmpty());
}

} // namespace
