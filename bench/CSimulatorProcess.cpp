#include "CSimulatorProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

CSimulatorProcess::CSimulatorProcess(const QStringList& options)
{
    m_link = m_dir.filePath(QStringLiteral("ttyRZ450"));
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/rz450sim");
    m_process.start(program, QStringList { QStringLiteral("--link"), m_link } + options);
    m_process.waitForStarted();
    for (int i = 0; i < 100 && !QFile::exists(m_link); ++i)
        QThread::msleep(50);
    qputenv("RZ450_PORT", m_link.toLocal8Bit());
}

CSimulatorProcess::~CSimulatorProcess()
{
    m_process.terminate();
    m_process.waitForFinished(3000);
}

bool CSimulatorProcess::Ready() const
{
    return QFile::exists(m_link);
}

void CSimulatorProcess::Command(const QByteArray& line)
{
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(1000);
}
