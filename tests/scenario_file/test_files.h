#pragma once

#include "model/scenario.h"

#include <string>
#include <vector>

namespace zeb::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::string listing() const;

private:
    std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// Joins lines with CR LF after each one, as scenario files end their lines.
std::string crlfLines(const std::vector<std::string>& lines);

// A station "Valmora" starting at 06.30 with the tracks 1, 2 and 1tronco, chosen the way the
// station dialog chooses them.
Scenario stationValmora();

// Valmora with the two trains of the format's reference example, stored as the editor stores
// them: a Regionale 231 passing through, and an Autobus 88 ending here.
Scenario exampleScenario();

// A committed sample scenario file, also a seed of the fuzz target: "example.zeb", the file of
// exampleScenario(); "four_trains.zeb", two Regionali in conflict on track 1, a bus ending here and
// an early Intercity on track 2.
std::string sampleFile(const std::string& name);

// The lines of the file the writer makes of exampleScenario(): the header, then the blocks of
// the Regionale (lines 4 to 17) and of the Autobus.
std::vector<std::string> exampleFileLines();
// The exact bytes the writer makes of exampleScenario().
std::string exampleFileBytes();

// Reads `bytes` as a scenario file into `base`, a fresh scenario by default.
Scenario loadBytes(const std::string& bytes, Scenario base = {});

// The station and every stored train, one line each and the fields between "|", so that a
// test compares a whole scenario at once:
// "name|ora.min|tracks|conta" then "tipologia|numero|dest|prov|categoria/indice|oa.ma|op.mp|
// binario|ritardo|fermate|codice/sussidiaria|note" per train.
std::string summary(const Scenario& s);
// The line of one train in summary().
std::string trainSummary(const Treno& t);

} // namespace zeb::test
