#pragma once

#include "platform/IniFile.h"
#ifdef _WIN32
#include "platform/WinProfile.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The profile back-ends that the shared tests run over: our own everywhere,
// and the Windows functions in the Windows build.
struct BackendCase {
    std::string name;
    ProfileBackend* backend;
};

inline std::vector<BackendCase> AllBackends() {
    static IniFile portable;
    std::vector<BackendCase> cases{{"Portable", &portable}};
#ifdef _WIN32
    static WinProfile windows;
    cases.push_back({"Windows", &windows});
#endif
    return cases;
}

inline std::string BackendName(const testing::TestParamInfo<BackendCase>& info) { return info.param.name; }
