#include "tool/tool_commands.h"

#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zeb {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

template <class Command> ToolRun run(Command command) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(out, err);
    return {status, out.str(), err.str()};
}

class ZebranoTool : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeBytes(folder.file("good.zeb"), test::exampleFileBytes());
        std::string conflicts = test::exampleFileBytes();
        // The bus becomes a Regionale on track 2 at the Regionale's time.
        conflicts.replace(conflicts.find("Categoria = Autobus"), 19, "Categoria = Regionale");
        conflicts.replace(conflicts.find("Arrivo = 07.05"), 14, "Arrivo = 06.43");
        conflicts.replace(conflicts.find("Binario = 99"), 12, "Binario = 2");
        test::writeBytes(folder.file("conflicts.zeb"), conflicts);
    }
    std::string path(const char* name) const { return folder.file(name); }

    test::TempFolder folder;
};

TEST_F(ZebranoTool, VerificaExitsByWhatItFinds) {
    const ToolRun good =
        run([&](auto& o, auto& e) { return verificaCommand(path("good.zeb"), {}, o, e); });
    EXPECT_EQ(good.status, kExitOk);
    EXPECT_EQ(good.out, "0 errori, 0 avvisi\n");
    const ToolRun bad =
        run([&](auto& o, auto& e) { return verificaCommand(path("conflicts.zeb"), {}, o, e); });
    EXPECT_EQ(bad.status, kExitProblems);
    EXPECT_EQ(bad.out, "errore: Treni 1 (231) e 2 (88), binario 2: occupato insieme dalle 06:43 "
                       "alle 06:44\n1 errore, 0 avvisi\n");
    const ToolRun missing =
        run([&](auto& o, auto& e) { return verificaCommand(path("missing.zeb"), {}, o, e); });
    EXPECT_EQ(missing.status, kExitUnreadable);
    EXPECT_NE(missing.err.find("missing.zeb: 2 "), std::string::npos) << missing.err;
}

TEST_F(ZebranoTool, EsportaAndImportaMakeTheSameScenarioAgain) {
    const ToolRun csv =
        run([&](auto& o, auto& e) { return esportaCommand(path("good.zeb"), {}, o, e); });
    ASSERT_EQ(csv.status, kExitOk);
    EXPECT_EQ(csv.out.substr(0, 9), "\xEF\xBB\xBFNumero");
    ASSERT_EQ(run([&](auto& o, auto& e) {
                  return esportaCommand(path("good.zeb"), path("trains.csv"), o, e);
              }).status,
              kExitOk);
    EXPECT_EQ(test::readBytes(path("trains.csv")), csv.out);

    // BASE with no trains: its header alone.
    const std::string example = test::exampleFileBytes();
    test::writeBytes(path("base.zeb"), example.substr(0, example.find("\r\n\r\n") + 2));
    const ToolRun imported = run([&](auto& o, auto& e) {
        return importaCommand(path("trains.csv"), path("base.zeb"), path("new.zeb"), o, e);
    });
    EXPECT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(test::readBytes(path("new.zeb")), example);

    test::writeBytes(path("bad.csv"), "Numero;Arrivo;Provenienza\n1;99:99;X\n");
    const ToolRun refused = run([&](auto& o, auto& e) {
        return importaCommand(path("bad.csv"), path("base.zeb"), path("never.zeb"), o, e);
    });
    EXPECT_EQ(refused.status, kExitProblems);
    EXPECT_NE(refused.err.find("Riga 2, Arrivo: «99:99» non è un orario valido"),
              std::string::npos);
    EXPECT_EQ(folder.listing().find("never.zeb"), std::string::npos) << "nothing is written";
}

} // namespace
} // namespace zeb
