// The update check's version comparison: numbers part by part, not characters.

#include "app/Versions.h"

#include <gtest/gtest.h>

using namespace tsl;

struct JudgeCase {
    const char* remote;
    const char* own;
    RemoteVersion expected;
};

class JudgeRemoteVersionTest : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(JudgeRemoteVersionTest, ComparesDottedNumbers)
{
    const JudgeCase& c = GetParam();
    EXPECT_EQ(JudgeRemoteVersion(c.remote, *ParseVersion(c.own)), c.expected) << c.remote << " against " << c.own;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, JudgeRemoteVersionTest,
    ::testing::Values(JudgeCase{"0.3.4", "0.3.3", RemoteVersion::Newer},
                      JudgeCase{"0.3.3", "0.3.3", RemoteVersion::NotNewer},
                      JudgeCase{"0.3.2", "0.3.3", RemoteVersion::NotNewer},
                      JudgeCase{"0.3.3\r\n", "0.3.3", RemoteVersion::NotNewer},
                      JudgeCase{" 0.3.3\n", "0.3.3", RemoteVersion::NotNewer},
                      JudgeCase{"0.10.0.0", "0.3.3.0", RemoteVersion::Newer},
                      JudgeCase{"0.3.3.0", "0.10", RemoteVersion::NotNewer},
                      JudgeCase{"0.3.3.0", "0.3.3", RemoteVersion::NotNewer},
                      JudgeCase{"0.3.3.1", "0.3.3", RemoteVersion::Newer},
                      JudgeCase{"1", "0.9.9", RemoteVersion::Newer},
                      JudgeCase{"", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"<html>Not found</html>", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"0.3.", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"0..3", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"v0.4", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"0.4 beta", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"-1.0", "0.3.3", RemoteVersion::Unreadable},
                      JudgeCase{"99999999999999999999", "0.3.3", RemoteVersion::Unreadable}));
