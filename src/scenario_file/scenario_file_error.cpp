#include "scenario_file/scenario_file_error.h"
#include "scenario_file/file_paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zeb {

ScenarioFileError::ScenarioFileError(int number, const std::string& description)
    : std::runtime_error(std::to_string(number) + " " + description), number_(number),
      description_(description) {}

ScenarioFileError::ScenarioFileError(FormatError number, const std::string& description)
    : ScenarioFileError(static_cast<int>(number), description) {}

namespace {

// The system's errors the file commands meet, in the user's language; any other keeps the
// system's own words.
struct SystemErrorText {
    int number;
    const char* text;
};
constexpr SystemErrorText kSystemErrors[] = {
    {ENOENT, "Il file o la cartella non esiste"},
    {ENOTDIR, "Una parte del percorso non è una cartella"},
    {EISDIR, "È una cartella, non un file"},
    {EACCES, "Permesso negato"},
    {EPERM, "Operazione non permessa"},
    {EROFS, "Il disco è di sola lettura"},
    {ENOSPC, "Il disco è pieno"},
#if defined(EDQUOT) // not in Windows' errno.h
    {EDQUOT, "Lo spazio concesso sul disco è esaurito"},
#endif
    {EFBIG, "Il file è troppo grande"},
    {ENAMETOOLONG, "Il nome del file è troppo lungo"},
    {EEXIST, "Il file esiste già"},
    {EBUSY, "Il file è in uso da un altro programma"},
    {ETXTBSY, "Il file è in uso da un altro programma"},
    {EIO, "Errore di lettura o scrittura sul disco"},
    {ELOOP, "Troppi collegamenti simbolici uno dentro l'altro"},
    {EMFILE, "Troppi file aperti"},
    {ENFILE, "Troppi file aperti nel sistema"},
    {ENOMEM, "Memoria esaurita"},
    {EXDEV, "Il file andrebbe spostato su un altro disco"},
    {EINVAL, "Argomento non valido"},
};

} // namespace

std::string systemErrorText(int error) {
    for (const SystemErrorText& known : kSystemErrors) {
        if (known.number == error)
            return known.text;
    }
    return std::strerror(error);
}

ScenarioFileError ScenarioFileError::fromErrno(int error) {
    return ScenarioFileError(error, systemErrorText(error));
}

ScenarioFileError ScenarioFileError::notAFile(const std::string& what) {
    return ScenarioFileError(FormatError::NotAFile,
                             "Non è un file ordinario (è una pipe, un dispositivo o un socket): "
                             "l'editor non lo " +
                                 what);
}

ScenarioFileError ScenarioFileError::fromErrno(int error, const std::string& path) {
    if (error != ENOENT)
        return fromErrno(error);
    const std::filesystem::path folder = pathOf(path).parent_path();
    std::error_code unknown;
    if (!folder.empty() && !std::filesystem::is_directory(folder, unknown))
        return ScenarioFileError(error,
                                 "La cartella " + quotedValue(utf8Of(folder)) + " non esiste");
    return ScenarioFileError(error, "Il file non esiste");
}

std::string quotedValue(std::string_view utf8) {
    constexpr int kShownCharacters = 40;
    std::string out = "\"";
    int characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kShownCharacters)
            return out + "…\"";
        if (byte < 0x20 || byte == 0x7F)
            out += "\uFFFD";
        else
            out += utf8[i];
    }
    return out + "\"";
}

} // namespace zeb
