// The bar's folder settings over the real registry when the program starts from a share
// ("\\server\share\...", no drive letter): stored as they stand, read back as the same folders.
#include <gtest/gtest.h>

#include "config/FolderSettings.h"
#include "config/RegistryKeys.h"
#include "core/MessageService.h"
#include "platform/Registry.h"

using namespace kt;

namespace {
const char* const kProgramKey = "Software\\Orvall Software\\Ketravo";
std::string Stored(const char* name) {
    Registry reg;
    return reg.OpenKey(std::string(kProgramKey) + "\\Path", false) && reg.ValueExists(name) ? reg.ReadString(name)
                                                                                            : "<none>";
}
}  // namespace

TEST(FolderSettings, AStartFolderOnAShareIsStoredAsItStandsAndReadBackTheSame) {
    Registry().DeleteKey(kProgramKey);
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    const std::string start = "\\\\nas\\team\\Ketravo";
    TFolderSettings first;
    first.Load(store, reg::kBaseKey, start);
    EXPECT_EQ(Stored("PathApp"), start);  // was "%systemroot%nas\team\Ketravo"
    EXPECT_EQ(Stored("OutputDir"), start + "\\data");
    EXPECT_EQ(first.OutputDir, start + "\\data");

    // A folder stored with the placeholder by a start from a drive, read by a start from the
    // share: the placeholder stands for the share. A relative scheme folder lies in PathApp.
    Registry reg;
    ASSERT_TRUE(reg.OpenKey(std::string(kProgramKey) + "\\Path", false));
    reg.WriteString("CurrentDir", "%systemroot%\\work");
    reg.WriteString("OutputDir", "..\\shared");
    TFolderSettings next;
    next.Load(store, reg::kBaseKey, start);
    EXPECT_EQ(next.PathApp, start);
    EXPECT_EQ(next.CurrentDir, "\\\\nas\\team\\work");
    EXPECT_EQ(next.OutputDir, "\\\\nas\\team\\shared");
    EXPECT_TRUE(msgs.shown.empty());
    Registry().DeleteKey(kProgramKey);
}
