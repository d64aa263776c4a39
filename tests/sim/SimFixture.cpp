#include "SimFixture.h"

#include <cstdlib>
#include <filesystem>

void SimFixture::SetUp() {
    std::string pattern = ::testing::TempDir() + "zav7305-simtest-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    runtime = pattern;
}

void SimFixture::TearDown() {
    pc.Close();
    sim.Stop();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
}

bool SimFixture::StartSim(const std::string& device, const std::vector<std::string>& extra,
                          int32_t port) {
    CSimProcess::Options options;
    options.device = device;
    options.extraArgs = extra;
    options.runtimeDir = runtime;
    options.port = port;
    return sim.Start(options) && pc.Open(sim.PtyPath());
}

std::string SimFixture::LinkPath(int32_t number) const {
    return runtime + "/COM" + std::to_string(number);
}
