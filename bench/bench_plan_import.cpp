// Times importing a full site plan: 240 rows (every ID of a network, 20 repeaters and the
// modem) read from its file, checked, and kept as the network's plan, as `plan import` does.
// The plan folder goes under the first argument (default: the system's temporary folder).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "CPlanStore.h"
#include "FileStatus.h"
#include "PlanReader.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 20;
constexpr int kRepeaters = 20;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string FullPlan() {
    std::string text =
        "réseau;Banc d'essai\nclient;Eaux du Val\nsite;Usine\nadresse;1 rue Haute\nrépéteurs;" +
        std::to_string(kRepeaters) + "\nid;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP\n";
    for (int id = 1; id <= 240; ++id) {
        text += std::to_string(id) + (id <= kRepeaters ? ";répéteur;Relais " : ";capteur;Pompe ") +
                std::to_string(id) + ";\"Bâtiment " + std::to_string(id % 7) + ", local\";12;100;" +
                std::to_string(id % 100) + ";" + std::to_string(id % 4) + ";A\n";
    }
    return text + "0;modem;Modem;Armoire;12;100;60;0;255\n";
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path folder = base / ("zav-bench-plan-" + std::to_string(::getpid()));
    const CPlanStore store(folder.string());
    const std::string text = FullPlan();
    double worst = 0;
    double total = 0;
    double reading = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        const PlanReading read = PlanReader::Read(text);
        reading += Ms(Clock::now() - start);
        if (!read.plan || store.Save(*read.plan) != FILE_OK) {
            std::fprintf(stderr, "import failed\n");
            return 1;
        }
        const double ms = Ms(Clock::now() - start);
        worst = std::max(worst, ms);
        total += ms;
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    std::printf(
        "plan import, 240 rows (%zu bytes): mean %.2f ms (reading and checking %.2f ms, "
        "the rest writing it to the disk), worst %.2f ms over %d runs\n",
        text.size(), total / kRuns, reading / kRuns, worst, kRuns);
    return 0;
}
