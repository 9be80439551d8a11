#include "app/pure/cache_folder.h"

#include <gtest/gtest.h>

using app::IsEmptiableFolder;

TEST(CacheFolder, FullFolderPathsBelowARootQualify) {
    EXPECT_TRUE(IsEmptiableFolder("C:\\Windows\\Cookies"));
    EXPECT_TRUE(IsEmptiableFolder("c:\\windows\\Temporary Internet Files\\"));
    EXPECT_TRUE(IsEmptiableFolder("D:\\x"));
    EXPECT_TRUE(IsEmptiableFolder("C:/Users/me/History"));
    EXPECT_TRUE(IsEmptiableFolder("\\\\server\\share\\cache"));
    EXPECT_TRUE(IsEmptiableFolder("\\\\?\\C:\\long\\path"));
    EXPECT_TRUE(IsEmptiableFolder("\\\\?\\UNC\\server\\share\\dir"));
}

TEST(CacheFolder, EmptyRelativeAndDriveRelativePathsAreRefused) {
    EXPECT_FALSE(IsEmptiableFolder(""));
    EXPECT_FALSE(IsEmptiableFolder(" "));
    EXPECT_FALSE(IsEmptiableFolder("Cookies"));
    EXPECT_FALSE(IsEmptiableFolder("Windows\\Cookies"));
    EXPECT_FALSE(IsEmptiableFolder("\\Windows\\Cookies")); // root of the current drive
    EXPECT_FALSE(IsEmptiableFolder("C:Windows"));
    EXPECT_FALSE(IsEmptiableFolder("1:\\dir"));
}

TEST(CacheFolder, RootsOfDrivesAndSharesAreRefused) {
    EXPECT_FALSE(IsEmptiableFolder("C:"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\\\\\"));
    EXPECT_FALSE(IsEmptiableFolder("c:/"));
    EXPECT_FALSE(IsEmptiableFolder("\\"));
    EXPECT_FALSE(IsEmptiableFolder("\\\\server\\share"));
    EXPECT_FALSE(IsEmptiableFolder("\\\\server\\share\\"));
    EXPECT_FALSE(IsEmptiableFolder("\\\\server"));
    EXPECT_FALSE(IsEmptiableFolder("\\\\?\\C:\\"));
    EXPECT_FALSE(IsEmptiableFolder("\\\\?\\UNC\\server\\share"));
}

TEST(CacheFolder, DotPartsStreamsAndWildcardsAreRefused) {
    EXPECT_FALSE(IsEmptiableFolder("C:\\Windows\\.."));
    EXPECT_FALSE(IsEmptiableFolder("C:\\Windows\\..\\"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\.\\"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\dir\\*"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\di?"));
    EXPECT_FALSE(IsEmptiableFolder("C:\\dir\\x:y"));
    EXPECT_TRUE(IsEmptiableFolder("C:\\dir\\..name"));
}
