// The ground every update test over the calculator stands on: a program folder of its own with
// automatic checks off, the test's key as the maker's, no update pending and the calculator open.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "tests/support/update_server.h"

class UpdateOverCalculatorTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes path the program folder, with a settings file that turns the automatic check off.
    void useFolder(const std::string& path);

    QTemporaryDir scratch;
    std::string folder;
    TestKey key;

private:
    std::string savedUrl, savedKey;
};
