// Shared set-up for the GUI tests: the library prepared as start-up prepares it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/update_server.h"

// The program's routing, with the event switches, fonts and colours of its start-up.
void startTestApplication();
// Unloads every open form, whatever its handlers say.
void closeAllForms();
// The page the help viewer opens for an action, "(no help)" when it says the item has none, empty
// when it does not open.
std::string helpShownAfter(const std::function<void()>& action);

// One event as the program's callback received it.
struct Seen {
    std::string form;
    int32_t id;
    int32_t message;
    int32_t value;
};

// The ground every GUI test stands on: a program folder of its own, whose settings file turns the
// automatic update check off; the test's key as the maker's; no update pending; no station kept;
// the program's routing. Every form is closed afterwards and the process-wide values put back.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes path the program folder, with a settings file that turns the automatic check off.
    void useFolder(const std::string& path);
    QString path(const QString& name) const;  // a file in the program folder

    QTemporaryDir scratch;
    std::string folder;
    TestKey key;

private:
    std::function<void()> putBack;
};

// Routes design requests and events to the test itself, and records every event.
class LayerTest : public ProgramTest {
protected:
    void SetUp() override;
    int count(int32_t id, int32_t message) const;

    static inline std::function<void(const std::string&)> design;
    static inline std::function<void(const std::string&, int32_t&, int32_t&, int32_t&, int32_t&)> react;
    static inline std::vector<Seen> seen;
};

// A plain form named "HOST" for message boxes and windows to open over.
class HostFormTest : public ProgramTest {
protected:
    void SetUp() override;
};

// The calculator open.
class CalculatorTest : public ProgramTest {
protected:
    void SetUp() override;
};

// Acts in form once `open` (a menu choice, a key, a call) has put it on screen; act closes it or
// leaves it to the user's next step. True when the form opened and act ran before the deadline.
bool inForm(const std::string& form, const std::function<void()>& open, std::function<void()> act,
            int timeoutMs = 5000);
// Types the worked example's budget, return, margin, average sale and closing ratio into the
// calculator, and leaves the last box for the customer's.
void typeWorkedExample();
