#include "tool/tool_line.h"

#include "tool/tool_commands.h"

#include <algorithm>
#include <ctime>
#include <ostream>

namespace zeb {

namespace {

const ToolOption* findOption(const std::vector<ToolOption>& options, std::string_view name,
                             bool isShort) {
    const auto found = std::find_if(options.begin(), options.end(), [&](const ToolOption& o) {
        return isShort ? o.shortName == name : o.name == name;
    });
    return found == options.end() ? nullptr : &*found;
}

// One option word at `k`, with its value from the same word or the next; false on a fault.
bool readOption(const std::vector<std::string>& words, std::size_t& k,
                const std::vector<ToolOption>& options, ReadLine& line) {
    const std::string& word = words[k];
    const bool isShort = word[1] != '-';
    std::string name = word.substr(isShort ? 1 : 2);
    std::optional<std::string> value;
    if (const auto equals = name.find('='); !isShort && equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
    } else if (isShort && name.size() > 1) {
        value = name.substr(1);
        name.resize(1);
    }
    if (name == "help" || name == "h" || name == "version" || name == "v") {
        (name[0] == 'h' ? line.help : line.version) = true;
        return true;
    }
    const ToolOption* option = findOption(options, name, isShort);
    if (option == nullptr) {
        line.arguments.lineFault =
            "l'opzione " + std::string(isShort ? "-" : "--") + name + " non esiste";
        return false;
    }
    if (option->valueName.empty()) {
        line.arguments.options[option->name] = "";
        return true;
    }
    if (!value && k + 1 < words.size())
        value = words[++k];
    if (!value) {
        line.arguments.lineFault = "manca il valore dopo " + word;
        return false;
    }
    line.arguments.options[option->name] = *value;
    return true;
}

// `head`, then `said` from the column of the descriptions, wrapped to the width of a terminal.
std::string helpRows(const std::string& head, const std::string& said) {
    constexpr std::size_t kColumn = 31;
    constexpr std::size_t kWidth = 79;
    std::string text;
    std::string line = head;
    if (line.size() >= kColumn) {
        text = line + "\n";
        line.clear();
    }
    line.resize(kColumn, ' ');
    bool begun = false; // a word of `said` is on the line
    for (std::size_t from = 0; from < said.size();) {
        const std::size_t to = std::min(said.find(' ', from), said.size());
        const std::string_view word = std::string_view(said).substr(from, to - from);
        if (begun && line.size() + 1 + word.size() > kWidth) {
            text += line + "\n";
            line.assign(kColumn, ' ');
            begun = false;
        }
        line.append(begun ? " " : "").append(word);
        begun = true;
        from = to + 1;
    }
    return text + line + "\n";
}

// "  -o, --output <file>   what it does".
std::string optionLines(const ToolOption& option) {
    return helpRows("  " + (option.shortName.empty() ? "" : "-" + option.shortName + ", ") + "--" +
                        option.name +
                        (option.valueName.empty() ? "" : " <" + option.valueName + ">"),
                    option.description);
}

} // namespace

ReadLine readToolLine(const std::vector<std::string>& words,
                      const std::vector<ToolCommand>& commands) {
    const std::vector<ToolOption> options = toolOptions(commands);
    ReadLine line;
    bool filesOnly = false;
    for (std::size_t k = 0; k < words.size(); ++k) {
        const std::string& word = words[k];
        if (!filesOnly && word == "--") {
            filesOnly = true;
        } else if (!filesOnly && word.size() > 1 && word[0] == '-') {
            if (!readOption(words, k, options, line))
                return line;
        } else {
            line.positional.push_back(word);
        }
    }
    const auto& positional = line.positional;
    if (positional.size() >= 1 && positional.size() <= 3)
        line.arguments.command = positional[0];
    if (positional.size() >= 2 && positional.size() <= 3)
        line.arguments.file = positional[1];
    if (positional.size() == 3)
        line.arguments.secondFile = positional[2];
    line.arguments.today = localToday();
    return line;
}

std::string toolHelp(const std::vector<ToolCommand>& commands, const std::string& leftOut) {
    std::string text =
        "Utilizzo: zebrano-tool [opzioni] comando file\n" + toolDescription(commands) + "\n";
    if (!leftOut.empty())
        text += "\n" + leftOut + "\n\n";
    text += "Opzioni:\n";
    text += optionLines({"help", "h", "Mostra questo aiuto.", ""});
    text += optionLines({"version", "v", "Mostra la versione del programma.", ""});
    for (const ToolOption& option : toolOptions(commands))
        text += optionLines(option);
    std::string names;
    for (std::size_t k = 0; k < commands.size(); ++k)
        names += std::string(k == 0                     ? ""
                             : k + 1 == commands.size() ? " o "
                                                        : ", ") +
                 commands[k].name;
    return text + "\nParametri:\n" + helpRows("  comando", names) +
           helpRows("  file", "il file su cui lavorare");
}

int runToolLine(const std::vector<std::string>& words, const std::vector<ToolCommand>& commands,
                const std::string& leftOut, std::ostream& out, std::ostream& err) {
    const ReadLine line = readToolLine(words, commands);
    if (line.help) {
        const auto own =
            line.positional.empty() ? std::nullopt : commandHelp(commands, line.positional[0]);
        out << (own ? *own : toolHelp(commands, leftOut));
        return kExitOk;
    }
    if (line.version) {
        out << "zebrano-tool " << ZEBRANO_VERSION << "\n";
        return kExitOk;
    }
    if (!line.arguments.lineFault.empty())
        return usageError(err, line.arguments.lineFault);
    if (line.arguments.command.empty())
        return usageError(err, line.positional.size() > 3 ? "troppi argomenti"
                                                          : "servono un comando e un file");
    return runToolCommand(commands, line.arguments, out, err);
}

date::sys_days localToday() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now); // the tool's one thread
    return date::sys_days{date::year{local->tm_year + 1900} /
                          static_cast<unsigned>(local->tm_mon + 1) /
                          static_cast<unsigned>(local->tm_mday)};
}

} // namespace zeb
