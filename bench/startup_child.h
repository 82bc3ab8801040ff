// The child modes in which the start-up benchmark runs this program.
#pragma once

constexpr const char* kStartupChild = "--child-startup";
constexpr const char* kBareChild = "--child-bare";
constexpr const char* kLabelChild = "--child-label";

int runStartupChild(int argc, char** argv);
int runBareChild(int argc, char** argv, bool withText);
