#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <utility>

#include "CPortDirectory.h"
#include "SimFixture.h"

namespace {

namespace fs = std::filesystem;

std::string Target(const std::string& link) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(link, ec);
    return ec ? std::string() : target.string();
}

CSimProcess::Options OptionsIn(const std::string& folder) {
    CSimProcess::Options options;
    options.runtimeDir = folder;
    return options;
}

using Announce = SimFixture;

TEST_F(Announce, LinkLeadsToItsPtyAndThePortListFindsIt) {
    ASSERT_TRUE(StartSim("repeater"));
    EXPECT_EQ(sim.PortNumber(), CPortDirectory::kFirstVirtual);
    EXPECT_EQ(Target(LinkPath(sim.PortNumber())), sim.PtyPath());
    EXPECT_EQ(sim.Output(), "READY COM900 " + sim.PtyPath() + "\n");

    CPortDirectory::Roots roots;
    roots.runtime = runtime;
    EXPECT_EQ(CPortDirectory(roots).PathFor(sim.PortNumber()), sim.PtyPath());
}

TEST_F(Announce, MissingFolderIsCreatedPrivate) {
    const std::string inner = runtime + "/inner";
    CSimProcess own;
    ASSERT_TRUE(own.Start(OptionsIn(inner)));
    struct stat info {};
    ASSERT_EQ(::stat(inner.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(Target(inner + "/COM900"), own.PtyPath());
    EXPECT_TRUE(own.Stop());
}

TEST_F(Announce, FolderOthersCanReachIsRefused) {
    const std::string real = runtime + "/real";
    ASSERT_EQ(::mkdir(real.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(real.c_str(), (runtime + "/alias").c_str()), 0);
    ASSERT_EQ(::mkdir((runtime + "/open").c_str(), 0700), 0);
    ASSERT_EQ(::chmod((runtime + "/open").c_str(), 0777), 0);
    for (const char* folder : {"/alias", "/open"}) {
        CSimProcess refused;
        EXPECT_FALSE(refused.Start(OptionsIn(runtime + folder))) << folder;
        EXPECT_EQ(refused.ExitCode(), 1) << folder;
    }
    EXPECT_TRUE(fs::is_empty(real));
}

TEST_F(Announce, NumbersAreTakenInTurnAndStaleLinksReclaimed) {
    // 900: left by a simulator that died; 901: a live device of someone else's.
    ASSERT_EQ(::symlink("/dev/pts/no-such-pty", LinkPath(900).c_str()), 0);
    ASSERT_EQ(::symlink("/dev/null", LinkPath(901).c_str()), 0);
    ASSERT_TRUE(StartSim("repeater"));
    EXPECT_EQ(sim.PortNumber(), 900);

    CSimProcess second;
    ASSERT_TRUE(second.Start(OptionsIn(runtime)));
    EXPECT_EQ(second.PortNumber(), 902);
    EXPECT_EQ(Target(LinkPath(901)), "/dev/null");
    EXPECT_TRUE(second.Stop());
}

TEST_F(Announce, ExplicitNumberIsUsedOrRefusedWhenTaken) {
    ASSERT_TRUE(StartSim("modem", {}, 950));
    EXPECT_EQ(sim.PortNumber(), 950);
    EXPECT_EQ(Target(LinkPath(950)), sim.PtyPath());

    CSimProcess clash;
    CSimProcess::Options options = OptionsIn(runtime);
    options.port = 950;
    EXPECT_FALSE(clash.Start(options));
    EXPECT_EQ(clash.ExitCode(), 1);
    EXPECT_EQ(Target(LinkPath(950)), sim.PtyPath());
}

TEST_F(Announce, EveryStopSignalWithdrawsTheLink) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        ASSERT_TRUE(StartSim("repeater"));
        ASSERT_TRUE(fs::is_symlink(LinkPath(sim.PortNumber())));
        EXPECT_TRUE(sim.StopWith(signalNumber));
        EXPECT_EQ(sim.ExitCode(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(LinkPath(900))));
    }
}

// A test process that dies without stopping its simulator must not leave one running, with its
// link, in the port list of the next run.
TEST_F(Announce, SimulatorEndsWithTheProcessThatStartedIt) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t launcher = ::fork();
    ASSERT_GE(launcher, 0);
    if (launcher == 0) {
        ::close(ends[0]);
        CSimProcess orphan;
        const int32_t number = orphan.Start(OptionsIn(runtime)) ? orphan.PortNumber() : 0;
        const bool written = ::write(ends[1], &number, sizeof number) == sizeof number;
        ::_exit(written ? 0 : 1);  // no destructor: the simulator is left to itself
    }
    ::close(ends[1]);
    int32_t number = 0;
    const bool read = ::read(ends[0], &number, sizeof number) == sizeof number;
    ::close(ends[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(launcher, &status, 0), launcher);
    ASSERT_TRUE(read && number > 0);
    const std::string link = LinkPath(number);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (fs::exists(fs::symlink_status(link)) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(Announce, LinkTakenOverByAnotherIsLeftInPlace) {
    ASSERT_TRUE(StartSim("repeater"));
    const std::string link = LinkPath(sim.PortNumber());
    ASSERT_EQ(::unlink(link.c_str()), 0);
    ASSERT_EQ(::symlink("/dev/null", link.c_str()), 0);
    EXPECT_FALSE(sim.Stop());
    EXPECT_EQ(sim.ExitCode(), 0);
    EXPECT_EQ(Target(link), "/dev/null");
}

TEST_F(Announce, PortClosedByThePcIsNoHangUp) {
    ASSERT_TRUE(StartSim("repeater"));
    for (int round = 0; round < 3; ++round) {
        pc.Close();
        ASSERT_TRUE(pc.Open(sim.PtyPath()));
        ASSERT_TRUE(pc.Send("u\n"));
        EXPECT_EQ(pc.ReadLine(), kFactoryReport + "\n") << "round " << round;
    }
    EXPECT_TRUE(sim.Stop());
}

TEST_F(Announce, BadCommandLineEndsBeforeAnnouncing) {
    const std::vector<std::vector<std::string>> rows = {
        {"--port", "899"},   {"--port", "1000"},        {"--port", "9x0"},
        {"--delay", "soon"}, {"--drip", "-1"},          {"--device", "toaster"},
        {"--log", ""},       {"--frobnicate"},          {"stray"},
        {"--device"},        {"--report-change", "ver"}};
    for (const auto& extra : rows) {
        CSimProcess bad;
        CSimProcess::Options options = OptionsIn(runtime);
        options.extraArgs = extra;
        EXPECT_FALSE(bad.Start(options)) << extra.front();
        EXPECT_EQ(bad.ExitCode(), 2) << extra.front();
    }
    const std::pair<const char*, const char*> answers[] = {{"--help", "--hangup-mid"},
                                                           {"--version", "zav7305-sim 1.4.0.0\n"}};
    for (const auto& [option, shown] : answers) {
        CSimProcess answer;
        CSimProcess::Options options = OptionsIn(runtime);
        options.extraArgs = {option};
        EXPECT_FALSE(answer.Start(options)) << option;
        EXPECT_EQ(answer.ExitCode(), 0) << option;
        EXPECT_NE(answer.Output().find(shown), std::string::npos) << option;
    }
    EXPECT_TRUE(fs::is_empty(runtime));
}

}  // namespace
