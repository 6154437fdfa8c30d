#include "tool/paper_commands.h"
#include "tool/tool_command_line.h"
#include "tool/tool_line.h"

#include <QGuiApplication>

#include <iostream>

namespace {

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set…") are not the tool's to print: a
// script reads only what the commands say.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::cerr << message.toStdString() << "\n";
        std::abort();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(quietQt);
    // The paper is drawn without a screen where none is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::vector<zeb::ToolCommand> commands =
        zeb::coreCommands(zeb::pdfNoticeWriter(), zeb::boardsPictureWriter());
    for (zeb::ToolCommand& command : zeb::paperCommands())
        commands.push_back(std::move(command));
    return zeb::runToolLine(std::vector<std::string>(argv + 1, argv + argc), commands, {},
                            std::cout, std::cerr);
}
