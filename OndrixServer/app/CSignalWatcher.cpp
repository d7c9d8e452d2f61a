#include "app/CSignalWatcher.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const int WATCHED[] = { SIGINT, SIGTERM };

// The handler writes the signal's number as one byte into the first end;
// the event loop reads it from the second.
int g_sockets[2] = { -1, -1 };
struct sigaction g_previous[std::size(WATCHED)];

// Also hands both signals back to their default, so that a second one ends
// a stop that hangs.
void OnSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    for (int watched : WATCHED)
        ::sigaction(watched, &byDefault, nullptr);
    errno = savedErrno;
}

bool OpenSockets()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_sockets) != 0)
        return false;
    for (int socket : g_sockets) {
        ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
        ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

void CloseSockets()
{
    for (int& socket : g_sockets) {
        ::close(socket);
        socket = -1;
    }
}

void Install()
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    // Blocked during the handler, the other signal finds the default in place.
    sigemptyset(&action.sa_mask);
    for (int watched : WATCHED)
        sigaddset(&action.sa_mask, watched);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(WATCHED); ++i)
        ::sigaction(WATCHED[i], &action, &g_previous[i]);
}

void Restore()
{
    for (size_t i = 0; i < std::size(WATCHED); ++i)
        ::sigaction(WATCHED[i], &g_previous[i], nullptr);
}

} // namespace

CSignalWatcher::CSignalWatcher(QObject* parent)
    : QObject(parent)
{
    Q_ASSERT(g_sockets[0] < 0);
    if (!OpenSockets())
        return;
    m_pNotifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CSignalWatcher::OnNotifierActivated);
    Install();
}

CSignalWatcher::~CSignalWatcher()
{
    if (!m_pNotifier)
        return;
    Restore();
    delete m_pNotifier;
    CloseSockets();
}

void CSignalWatcher::OnNotifierActivated()
{
    char bytes[16];
    ssize_t count;
    while ((count = ::read(g_sockets[1], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit terminationRequested(static_cast<unsigned char>(bytes[i]));
    }
}

#else

CSignalWatcher::CSignalWatcher(QObject* parent)
    : QObject(parent)
{
}

CSignalWatcher::~CSignalWatcher() = default;

void CSignalWatcher::OnNotifierActivated()
{
}

#endif
