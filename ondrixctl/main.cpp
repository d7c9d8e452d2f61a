#include "CCtlProgram.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    CCtlProgram program;
    std::unique_ptr<QCoreApplication> application;
    if (program.NeedsGui(arguments)) {
        // Drawing needs no screen: the program never asks for one.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("ondrixctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ONDRIX_VERSION));
    return program.Run(QCoreApplication::arguments());
}
