#include "CPtyServer.h"

#include "CRZ450Simulator.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr std::int64_t NS_PER_SECOND = 1000000000;
// One byte's time on the line, rounded up so the pace never exceeds the baud rate.
constexpr std::int64_t BYTE_NS = (NS_PER_SECOND * CPtyServer::BITS_PER_BYTE + CPtyServer::BAUD - 1) / CPtyServer::BAUD;
// Answers go out in chunks: one wake-up per chunk, not per byte.
constexpr std::size_t CHUNK = 32;
// Deadlines closer than this are met with an absolute sleep, not a poll time-out.
constexpr std::int64_t SLEEP_WINDOW_NS = 2000000;
constexpr int IO_BUFFER = 4096;
// A detector answers the host's next bytes within microseconds. Waking from
// an idle poll can take a hundred or more here, so for a short while after
// an answer went out the pump keeps looking instead of sleeping.
constexpr std::int64_t SPIN_AFTER_ANSWER_NS = 400000;
constexpr std::int64_t SPIN_BEFORE_CHUNK_NS = 150000;

std::int64_t Now()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * NS_PER_SECOND + ts.tv_nsec;
}

timespec ToTimespec(std::int64_t ns)
{
    timespec ts {};
    ts.tv_sec = static_cast<time_t>(ns / NS_PER_SECOND);
    ts.tv_nsec = static_cast<long>(ns % NS_PER_SECOND);
    return ts;
}

bool IsSymlinkOrMissing(const QString& path)
{
    struct stat info
    {
    };
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISLNK(info.st_mode);
}

void RemoveSymlink(const QString& path)
{
    if (!path.isEmpty() && IsSymlinkOrMissing(path))
        unlink(QFile::encodeName(path).constData());
}

} // namespace

CPtyServer::CPtyServer(CRZ450Simulator* simulator)
    : m_simulator(simulator)
{
}

CPtyServer::~CPtyServer()
{
    Stop();
}

bool CPtyServer::Start(const QString& linkPath)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_running) {
        m_error = QStringLiteral("already running");
        return false;
    }
    m_error.clear();
    if (linkPath.isEmpty()) {
        QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/rz450sim-XXXXXX"));
        if (!mkdtemp(pattern.data())) {
            m_error = QStringLiteral("cannot create a temporary folder");
            return false;
        }
        m_tempDir = QFile::decodeName(pattern);
        m_link = m_tempDir + QStringLiteral("/ttyRZ450");
    } else {
        m_link = QFileInfo(linkPath).absoluteFilePath();
        if (!IsSymlinkOrMissing(m_link)) {
            m_error = m_link + QStringLiteral(" exists and is not a symbolic link");
            return false;
        }
    }
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0 || !OpenPtyLocked()) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("cannot create the wake-up pipe");
        CloseLocked();
        for (int& fd : m_wake) {
            if (fd >= 0)
                close(fd);
            fd = -1;
        }
        if (!m_tempDir.isEmpty())
            rmdir(QFile::encodeName(m_tempDir).constData());
        m_tempDir.clear();
        return false;
    }
    m_stop = false;
    m_running = true;
    m_thread = std::thread(&CPtyServer::Run, this);
    return true;
}

void CPtyServer::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_running)
            return;
        m_stop = true;
    }
    Wake();
    m_thread.join();
    std::lock_guard<std::mutex> lock(m_lock);
    CloseLocked();
    for (int& fd : m_wake) {
        close(fd);
        fd = -1;
    }
    if (!m_tempDir.isEmpty())
        rmdir(QFile::encodeName(m_tempDir).constData());
    m_tempDir.clear();
    m_replugAt = -1;
    m_running = false;
}

bool CPtyServer::IsRunning() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_running;
}

QString CPtyServer::Path() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_link;
}

QString CPtyServer::SlavePath() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_slaveName;
}

QString CPtyServer::ErrorString() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_error;
}

void CPtyServer::SetPaced(bool paced)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_paced = paced;
    }
    Wake();
}

bool CPtyServer::IsPaced() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_paced;
}

void CPtyServer::SetReplugDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_replugDelay = ms;
}

void CPtyServer::Disconnect()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        CloseLocked();
        m_replugAt = -1;
    }
    Wake();
}

bool CPtyServer::Reconnect()
{
    bool opened = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_running)
            return false;
        CloseLocked();
        m_replugAt = -1;
        opened = OpenPtyLocked();
    }
    Wake();
    return opened;
}

bool CPtyServer::IsConnected() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_master >= 0;
}

// --- pump thread ---------------------------------------------------------------

void CPtyServer::Run()
{
    // Paced chunks are a few hundred microseconds apart; the default 50 us
    // timer slack would stretch every exchange.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    for (;;) {
        WAIT wait;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stop)
                return;
            wait.master = m_master;
            wait.wantWrite = m_outBlocked;
            wait.deadline = NextDeadline();
            if (m_paced) {
                // Only the last chunk of an answer and the host's reply to it
                // decide the exchange rate: those are waited for awake.
                wait.spinFinalChunk = !m_out.empty() && m_out.size() <= CHUNK;
                wait.spinInputUntil = m_out.empty() && m_in.empty() ? m_answeredAt + SPIN_AFTER_ANSWER_NS : 0;
            }
        }
        WaitForWork(wait);
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_stop)
            return;
        char drain[64];
        while (read(m_wake[0], drain, sizeof drain) > 0) { }
        Service();
    }
}

void CPtyServer::WaitForWork(const WAIT& wait)
{
    const std::int64_t now = Now();
    if (wait.deadline >= 0 && wait.deadline - now <= SLEEP_WINDOW_NS) {
        // Short waits (a request's own line time) and the last chunk are
        // waited for awake; a sleep would end a wake-up latency too late.
        const bool awake = wait.spinFinalChunk || wait.deadline - now <= SPIN_BEFORE_CHUNK_NS;
        const std::int64_t sleepUntil = awake ? wait.deadline - SPIN_BEFORE_CHUNK_NS : wait.deadline;
        if (sleepUntil > now) {
            const timespec until = ToTimespec(sleepUntil);
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) { }
        }
        while (Now() < wait.deadline) { }
        return;
    }
    pollfd fds[2]
        = { { m_wake[0], POLLIN, 0 }, { wait.master, static_cast<short>(POLLIN | (wait.wantWrite ? POLLOUT : 0)), 0 } };
    const nfds_t count = wait.master >= 0 ? 2 : 1;
    const timespec zero {};
    while (Now() < wait.spinInputUntil) {
        if (ppoll(fds, count, &zero, nullptr) != 0)
            return;
    }
    const timespec timeout = ToTimespec(wait.deadline - now);
    ppoll(fds, count, wait.deadline >= 0 ? &timeout : nullptr, nullptr);
}

void CPtyServer::Service()
{
    const std::int64_t now = Now();
    ReadInput(now);
    FeedDue(now);
    WriteDue(Now());
    if (m_master < 0 && m_replugAt >= 0 && now >= m_replugAt) {
        m_replugAt = -1;
        OpenPtyLocked();
    }
}

void CPtyServer::ReadInput(std::int64_t now)
{
    if (m_master < 0)
        return;
    char buffer[IO_BUFFER];
    ssize_t got = 0;
    while ((got = read(m_master, buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < got; ++i) {
            std::int64_t due = 0;
            if (m_paced) {
                due = std::max(now, m_inFree) + BYTE_NS;
                m_inFree = due;
            }
            m_in.push_back({ due, buffer[i] });
        }
    }
}

void CPtyServer::FeedDue(std::int64_t now)
{
    while (!m_in.empty() && m_in.front().due <= now) {
        const TimedByte in = m_in.front();
        m_in.pop_front();
        m_simulator->Feed(&in.byte, 1);
        // An answer starts when its request has fully arrived, even if the
        // pump noticed late: lateness must not add up over an exchange.
        CollectOutput(in.due);
    }
}

void CPtyServer::CollectOutput(std::int64_t producedAt)
{
    const QByteArray bytes = m_simulator->Take(INT_MAX);
    for (char byte : bytes) {
        std::int64_t due = 0;
        if (m_paced) {
            due = std::max(producedAt, m_outFree) + BYTE_NS;
            m_outFree = due;
        }
        m_out.push_back({ due, byte });
    }
    if (m_simulator->TakeDisconnectRequest()) {
        CloseLocked();
        if (m_replugDelay >= 0)
            m_replugAt = Now() + std::int64_t(m_replugDelay) * 1000000;
    }
}

void CPtyServer::WriteDue(std::int64_t now)
{
    if (m_master < 0)
        return;
    char buffer[IO_BUFFER];
    std::size_t count = 0;
    while (count < m_out.size() && count < sizeof buffer && m_out[count].due <= now) {
        buffer[count] = m_out[count].byte;
        ++count;
    }
    if (count == 0)
        return;
    const ssize_t written = write(m_master, buffer, count);
    const std::size_t done = written > 0 ? static_cast<std::size_t>(written) : 0;
    m_out.erase(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(done));
    m_outBlocked = done < count;
    if (m_out.empty())
        m_answeredAt = Now();
}

std::int64_t CPtyServer::NextDeadline() const
{
    std::int64_t deadline = -1;
    const auto consider = [&deadline](std::int64_t due) { deadline = deadline < 0 ? due : std::min(deadline, due); };
    if (!m_in.empty())
        consider(m_in.front().due);
    if (!m_out.empty() && !m_outBlocked)
        consider(m_out[std::min(CHUNK, m_out.size()) - 1].due);
    if (m_master < 0 && m_replugAt >= 0)
        consider(m_replugAt);
    return deadline;
}

// --- the pty -------------------------------------------------------------------

bool CPtyServer::OpenPtyLocked()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[PATH_MAX] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        m_error = QStringLiteral("cannot create a pseudo-terminal");
        if (master >= 0)
            close(master);
        return false;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios mode {};
    if (slave < 0 || tcgetattr(slave, &mode) != 0) {
        m_error = QStringLiteral("cannot open %1").arg(QString::fromLocal8Bit(name));
        close(master);
        if (slave >= 0)
            close(slave);
        return false;
    }
    cfmakeraw(&mode);
    cfsetspeed(&mode, B921600);
    tcsetattr(slave, TCSANOW, &mode);
    m_master = master;
    m_slave = slave;
    m_slaveName = QString::fromLocal8Bit(name);
    m_inFree = m_outFree = 0;
    if (!LinkLocked(m_slaveName)) {
        CloseLocked();
        return false;
    }
    m_simulator->Reset();
    return true;
}

void CPtyServer::CloseLocked()
{
    // The link goes first: a client that saw the hangup must not find it
    // still pointing at the dead pty, nor later at another program's
    // terminal once the number is reused.
    RemoveSymlink(m_link);
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
    m_master = m_slave = -1;
    m_slaveName.clear();
    m_in.clear();
    m_out.clear();
    m_outBlocked = false;
}

bool CPtyServer::LinkLocked(const QString& target)
{
    // Build the new link beside the old one and rename it over: a client
    // never finds the path missing or half made.
    const QByteArray link = QFile::encodeName(m_link);
    const QByteArray fresh = link + ".new";
    unlink(fresh.constData());
    if (symlink(QFile::encodeName(target).constData(), fresh.constData()) != 0
        || rename(fresh.constData(), link.constData()) != 0) {
        unlink(fresh.constData());
        m_error = QStringLiteral("cannot create the link %1").arg(m_link);
        return false;
    }
    return true;
}

void CPtyServer::Wake()
{
    const char byte = 1;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_wake[1] >= 0 && write(m_wake[1], &byte, 1) < 0) {
        // The pipe is full, so the pump is already due to wake.
    }
}
