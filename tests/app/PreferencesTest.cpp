#include "app/Preferences.h"
#include "store/DataLocation.h"
#include "tests/common/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zentaro::test {
namespace {

QString Local(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

TEST(Preferences, APortableProgramKeepsThemBesideItselfAnInstalledOneInTheUsersFolder)
{
    const ProgramLayout portable{"/opt/zentaro", std::nullopt};
    const ProgramLayout installed{"/usr/bin", std::filesystem::path("/usr/share/zentaro")};
    EXPECT_EQ(Preferences::FileFor(portable, "/home/u/.config/zentaro"), QStringLiteral("/opt/zentaro/zentaro.conf"));
    EXPECT_EQ(Preferences::FileFor(installed, "/home/u/.config/zentaro"),
              QStringLiteral("/home/u/.config/zentaro/zentaro.conf"));
}

TEST(Preferences, TheAutomaticUpdateIsOnUntilSwitchedOffAndStaysSo)
{
    TempDir folder;
    const QString file = Local(folder / "zentaro.conf");
    EXPECT_TRUE(Preferences(file).UpdateRatesAutomatically());
    EXPECT_FALSE(QFile::exists(file)) << "reading writes nothing";

    Preferences(file).SetUpdateRatesAutomatically(false);
    EXPECT_FALSE(Preferences(file).UpdateRatesAutomatically());
    Preferences(file).SetUpdateRatesAutomatically(true);
    EXPECT_TRUE(Preferences(file).UpdateRatesAutomatically());

    // Without a file the choice holds for the run only.
    Preferences unkept;
    unkept.SetUpdateRatesAutomatically(false);
    EXPECT_FALSE(unkept.UpdateRatesAutomatically());
    EXPECT_TRUE(Preferences().UpdateRatesAutomatically());
}

} // namespace
} // namespace zentaro::test
