#include "scenario_file/file_paths.h"
#include "tool/tool_command_line.h"
#include "tool/tool_line.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

// What this build cannot do, for the help.
std::string leftOut() {
    std::string text = "Questa versione non disegna: mancano occupazione e manifesti, l'avviso di "
                       "confronta\ne l'immagine di tabellone.";
#if !defined(ZEB_WITH_GTFS)
    text += " Non legge gli orari GTFS: manca il comando gtfs.";
#endif
#if !defined(ZEB_WITH_GLPK)
    text += "\nAssegna i binari con la sola prima scelta, senza la ricerca che la migliora.";
#endif
#if !defined(ZEB_WITH_ICU)
    text += "\nDei nomi scritti in alfabeti diversi dal latino non toglie gli accenti.";
#endif
    return text;
}

int runTool(const std::vector<std::string>& words) {
    return zeb::runToolLine(words, zeb::coreCommands(), leftOut(), std::cout, std::cerr);
}

} // namespace

#if defined(_WIN32)
// The arguments as the system holds them, in UTF-16, so that any file name arrives whole; the
// output in UTF-8 and in binary, so that the bytes are those of every other system.
int wmain(int argc, wchar_t* argv[]) {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k)
        words.push_back(zeb::utf8Of(std::filesystem::path(argv[k])));
    return runTool(words);
}
#else
int main(int argc, char* argv[]) {
    return runTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
