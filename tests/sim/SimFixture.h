#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CPcPeer.h"
#include "CSimProcess.h"

inline const std::string kFrame =
    "u00501207A003100\n";  // ID 5, CHF 12, P0 7, TYP A, PRT 3, OFT 100
inline const std::string kFrameReport = "TM010203V14005012100007003A00";
inline const std::string kFactoryReport = "TM010203V14000255100060000300";

// One simulator per test, announced in a private runtime folder of the test's own, with the
// PC's side of its port open.
class SimFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulator and opens its port.
    bool StartSim(const std::string& device, const std::vector<std::string>& extra = {},
                  int32_t port = 0);
    std::string LinkPath(int32_t number) const;

    std::string runtime;
    CSimProcess sim;
    CPcPeer pc;
};
