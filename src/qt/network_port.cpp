#include "qt/network_port.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "qt/port_devices.h"
#include "qt/port_timing.h"
#include "qt/raw_socket.h"

namespace sigcond {

namespace {

constexpr int kLookupTimeoutMs = 3000;
constexpr int kConnectTimeoutMs = 3000;
// How long open() waits for the server to answer the negotiation and the line settings (a
// server that never answers them still serves the line afterwards).
constexpr int kSettleMs = 1500;
// A plain TCP server that refuses the connection says so right away, then closes.
constexpr int kSocketSettleMs = 200;
constexpr int kWriteTimeoutMs = 1000;
// Pauses between attempts to connect again: the first at once, then doubling up to the last.
constexpr double kFirstPauseSeconds = 0.25;
constexpr double kLongestPauseSeconds = 4.0;
// Received data kept unread at most; what a server sends beyond it is dropped.
constexpr std::size_t kMaxReceived = 65536;
constexpr std::size_t kMaxServerText = 200;
// A dead peer: keepalive probes after 5 s of quiet, every 2 s, 3 unanswered end it; data the
// peer has not acknowledged for 10 s ends it too.
constexpr int kKeepIdleSeconds = 5, kKeepIntervalSeconds = 2, kKeepCount = 3;
constexpr unsigned kUnacknowledgedMs = 10000;

using port_timing::idle;
using port_timing::steadySeconds;

// The name's addresses, looked up in a thread of their own, so that a name server that does
// not answer holds the caller no longer than kLookupTimeoutMs; the thread ends by itself
// whenever the lookup does. Empty (with `error`) when there are none.
std::vector<QHostAddress> lookUp(const std::string& host, std::string& error) {
    QHostAddress literal;
    if (literal.setAddress(QString::fromStdString(host))) return {literal};
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::vector<QHostAddress> addresses;
        std::string error;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        std::vector<QHostAddress> addresses;
        const std::string failure = raw_socket::lookUp(
            host, 0, false, [&](const sockaddr* a, int) { addresses.emplace_back(a); });
        std::lock_guard lock(lookup->mutex);
        lookup->addresses = addresses;
        if (addresses.empty()) lookup->error = failure.empty() ? "no address" : failure;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(kLookupTimeoutMs),
                               [&] { return lookup->finished; })) {
        error = host + ": the name could not be looked up within " +
                std::to_string(kLookupTimeoutMs / 1000) + " s";
        return {};
    }
    if (lookup->addresses.empty()) error = host + ": unknown host (" + lookup->error + ")";
    return lookup->addresses;
}

// The server's words for the operator: printable characters, line ends as blanks, trimmed.
std::string readable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            out += c;
        } else if ((c == '\r' || c == '\n' || c == '\t') && !out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

NetworkPort::NetworkPort() = default;

NetworkPort::~NetworkPort() {
    dropReconnecting();
    socket_.abort();
}

bool NetworkPort::connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

telnet::LineSettings NetworkPort::acknowledgedSettings() const {
    return codec_ ? codec_->acknowledged() : telnet::LineSettings{0, 0, 0, 0};
}

int NetworkPort::acknowledgedCount() const { return codec_ ? codec_->acknowledgedCount() : 0; }

void NetworkPort::setLineSettings(const std::string& settings) {
    settings_ = telnet::parseLineSettings(settings, settings_);
    if (ready_ && connected() && url_ && url_->lineControl) sendLineSettings();
}

// What arrived so far came at the old settings: it is dropped, and so is whatever arrives
// before the server has acknowledged the new ones or the next frame goes out. Line commands go
// only to a server that agreed to line control (one that refused keeps its own settings, as a
// plain TCP one does); before its answer they wait for it.
void NetworkPort::sendLineSettings() {
    pump();
    received_.clear();
    settingsDue_ = !codec_->lineControlAnswered();
    if (!codec_->lineControlAgreed()) return;
    purging_ = true;
    send(codec_->lineSettingsCommands(settings_));
}

std::string NetworkPort::lineSettingsCaveat() const {
    if (!url_) return "the port is not open";
    // A plain socket carries no line control: the unit answers at the first setting tried,
    // whatever the device server's port runs at.
    if (!url_->lineControl) return "over socket:// the server's own line settings apply";
    if (!codec_ || !codec_->lineControlAgreed()) {
        return codec_ && codec_->lineControlAnswered()
                   ? "the server refused line control; its own line settings apply"
                   : "the server has not agreed to line control; its own line settings apply";
    }
    const int count = codec_->acknowledgedCount();
    if (count < 4) {
        return "the server acknowledged " + std::to_string(count) + " of the 4 settings";
    }
    if (!codec_->acknowledgedAsAsked()) {
        return "the server reported " + telnet::formatLineSettings(codec_->acknowledged());
    }
    return "";
}

bool NetworkPort::open() {
    close();
    failed_ = false;
    reconnections_ = 0;
    address_ = comPortDevice(portNumber_);
    url_ = parsePortUrl(address_, errorText_);
    if (!url_) return false;
    const std::vector<QHostAddress> hosts = lookUp(url_->host, errorText_);
    if (hosts.empty()) return false;
    // Each of the name's addresses in turn (a name may stand for an IPv6 address the server
    // does not listen on), within one time limit; a new connection later takes the one that
    // answered.
    const double deadline = steadySeconds() + kConnectTimeoutMs / 1000.0;
    for (const QHostAddress& host : hosts) {
        host_ = host;
        startConnecting();
        const int left = static_cast<int>((deadline - steadySeconds()) * 1000.0);
        if (left > 0 && socket_.waitForConnected(left)) break;
        errorText_ = address_ + ": " +
                     (socket_.error() == QAbstractSocket::SocketTimeoutError || left <= 0
                          ? "no answer within " + std::to_string(kConnectTimeoutMs / 1000) + " s"
                          : socket_.errorString().toStdString());
        socket_.abort();
    }
    if (!connected()) return false;
    beginSession();
    if (!settle()) {
        errorText_ = address_ + ": " + closedText();
        forgetConnection();
        return false;
    }
    pause_ = kFirstPauseSeconds;
    nextAttempt_ = 0;
    opened_ = true;
    errorText_.clear();
    return true;
}

void NetworkPort::close() {
    dropReconnecting();
    forgetConnection();
    opened_ = false;
    lost_ = false;
}

// The connection ends: nothing more is sent on it, and what it brought is no answer.
void NetworkPort::forgetConnection() {
    socket_.abort();
    ready_ = false;
    purging_ = false;
    received_.clear();
}

bool NetworkPort::startConnecting() {
    socket_.abort();
    ready_ = false;
    socket_.connectToHost(host_, url_->port);
    return socket_.state() != QAbstractSocket::UnconnectedState;
}

void NetworkPort::beginSession() {
    // Frames are a few bytes each: they go out at once, not gathered.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    if (const raw_socket::Descriptor fd = socket_.socketDescriptor(); fd != raw_socket::kNone) {
        raw_socket::tuneConnection(fd, kKeepIdleSeconds, kKeepIntervalSeconds, kKeepCount,
                                   kUnacknowledgedMs);
    }
    received_.clear();
    serverText_.clear();
    served_ = false;
    settingsDue_ = false;
    ready_ = true;
    // Until the first frame goes out (or the server has acknowledged the line settings), what
    // arrives is no answer: kept aside as what the server may have to say.
    purging_ = true;
    if (!url_->lineControl) {
        codec_.reset();
        return;
    }
    // A new connection negotiates afresh; the server starts from its own line settings, and
    // ours follow its agreement to line control.
    codec_ = std::make_unique<telnet::Codec>(true);
    settingsDue_ = true;
    send(codec_->opening());
}

std::string NetworkPort::closedText() const {
    return "the server closed the connection" +
           (serverText_.empty() ? std::string() : ": " + readable(serverText_));
}

bool NetworkPort::settle() {
    const int timeoutMs = url_->lineControl ? kSettleMs : kSocketSettleMs;
    const double deadline = steadySeconds() + timeoutMs / 1000.0;
    for (;;) {
        pump();
        if (!connected()) return false;
        if (codec_ && codec_->lineControlAnswered() &&
            (codec_->acknowledgedCount() == 4 || !codec_->lineControlAgreed())) {
            return true;
        }
        const int left = static_cast<int>((deadline - steadySeconds()) * 1000.0);
        if (left <= 0) return true;
        awaitData(left);
    }
}

bool NetworkPort::awaitData(int timeoutMs) {
    return socket_.bytesAvailable() > 0 || socket_.waitForReadyRead(timeoutMs);
}

bool NetworkPort::send(const std::string& bytes) {
    if (!connected()) return false;
    if (socket_.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        checkForLoss();
        return false;
    }
    while (socket_.bytesToWrite() > 0) {
        if (!socket_.waitForBytesWritten(kWriteTimeoutMs)) {
            checkForLoss();
            return false;
        }
    }
    return true;
}

void NetworkPort::pump() {
    if (!connected()) return;
    if (socket_.bytesAvailable() == 0) socket_.waitForReadyRead(0);
    const QByteArray bytes = socket_.readAll();
    if (bytes.isEmpty()) return;
    // What came is acknowledged at once. Left to itself the kernel holds the acknowledgement
    // to ride on our next frame, and a server that gathers small writes (Nagle's rule: ser2net
    // does) keeps the unit's reply back until its own last piece (the acknowledgements of the
    // line settings) is acknowledged: up to 40 ms at every attempt of the search.
    if (const raw_socket::Descriptor fd = socket_.socketDescriptor(); fd != raw_socket::kNone) {
        raw_socket::acknowledgeReceived(fd);
    }
    const std::string_view wire(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::function<void(const std::string&)> keep = [this](const std::string& data) {
        served_ = served_ || !data.empty();
        const std::size_t room = kMaxReceived - std::min(kMaxReceived, received_.size());
        received_.append(data, 0, std::min(room, data.size()));
    };
    const std::function<void(const std::string&)> drop = [this](const std::string& data) {
        const std::size_t room = kMaxServerText - std::min(kMaxServerText, serverText_.size());
        serverText_.append(data, 0, std::min(room, data.size()));
    };
    if (!codec_) {
        (purging_ ? drop : keep)(std::string(wire));
    } else if (!purging_) {
        keep(codec_->receive(wire));
    } else {
        // Byte by byte while purging: data after the last acknowledgement is kept.
        for (std::size_t i = 0; i < wire.size(); ++i) {
            const std::string data = codec_->receive(wire.substr(i, 1));
            (purging_ ? drop : keep)(data);
            if (purging_ && codec_->acknowledgedCount() == 4) purging_ = false;
        }
    }
    if (codec_) {
        served_ = served_ || codec_->acknowledgedCount() > 0;
        const std::string replies = codec_->takeReplies();
        if (!replies.empty()) send(replies);
        if (settingsDue_ && codec_->lineControlAnswered()) {
            settingsDue_ = false;
            sendLineSettings();
        }
    }
    checkForLoss();
}

void NetworkPort::checkForLoss() {
    if (!opened_ || lost_ || connected()) return;
    errorText_ = address_ + ": the connection was lost: " +
                 (socket_.error() == QAbstractSocket::RemoteHostClosedError
                      ? closedText()
                      : socket_.errorString().toStdString());
    // Only a connection that served starts the pauses afresh: one that a server accepts and
    // closes again at once (its port is busy) is a failed attempt like a refused one.
    if (served_) {
        pause_ = kFirstPauseSeconds;
        nextAttempt_ = steadySeconds();
    }
    forgetConnection();
    lost_ = true;
    failed_ = true;
}

// A new connection after a drop is made on a socket of our own and handed to Qt once it is
// made: QTcpSocket completes a connection only in the event loop (which sigcond-cli never
// runs) or in waitForConnected, which gives the attempt up when its time is over.
bool NetworkPort::startReconnecting() {
    // The address that answered, as a numeric text: no name server is asked again.
    raw_socket::lookUp(host_.toString().toStdString(), url_->port, true,
                       [this](const sockaddr* address, int size) {
                           if (connecting_ == raw_socket::kNone) {
                               connecting_ = raw_socket::startConnecting(address, size);
                           }
                       });
    return connecting_ != raw_socket::kNone;
}

void NetworkPort::dropReconnecting() {
    raw_socket::close(connecting_);
    connecting_ = raw_socket::kNone;
}

bool NetworkPort::recover(int budgetMs) {
    // The event loop may have seen the connection end since the last call.
    checkForLoss();
    if (!lost_) return ready_ && connected();
    const double now = steadySeconds();
    if (connecting_ == raw_socket::kNone) {
        if (now < nextAttempt_) return false;
        nextAttempt_ = now + pause_;
        pause_ = std::min(pause_ * 2, kLongestPauseSeconds);
        attemptStarted_ = now;
        if (!startReconnecting()) return false;
    }
    // Watched within the time the caller was going to wait anyway, never cut short by it: a
    // later call looks again, until the attempt's own time is over.
    const raw_socket::Connecting state = raw_socket::awaitConnected(connecting_, budgetMs);
    if (state == raw_socket::Connecting::Pending) {
        if (steadySeconds() - attemptStarted_ > kConnectTimeoutMs / 1000.0) dropReconnecting();
        return false;
    }
    if (state == raw_socket::Connecting::Failed || !socket_.setSocketDescriptor(connecting_)) {
        dropReconnecting();  // refused: the next attempt after the pause
        return false;
    }
    connecting_ = raw_socket::kNone;  // Qt's now
    // As at open(): the negotiation (binary transmission among it) and the line settings are
    // settled before a frame goes out.
    beginSession();
    if (!settle()) {
        errorText_ = address_ + ": the connection was lost: " + closedText();
        forgetConnection();
        return false;
    }
    lost_ = false;
    ++reconnections_;
    return true;
}

bool NetworkPort::write(const std::string& text) {
    if (!opened_) {
        errorText_ = "The port is not open";
        return false;
    }
    if (!recover(0)) return false;
    pump();
    // The frame goes out at the new settings: what follows it is its answer.
    purging_ = false;
    return send(codec_ ? codec_->encode(text) : text);
}

int NetworkPort::waitingCount() {
    if (!opened_ || !recover(0)) return 0;
    pump();
    return static_cast<int>(received_.size());
}

std::string NetworkPort::readAll() {
    if (!opened_ || !recover(0)) return {};
    pump();
    std::string text;
    text.swap(received_);
    // A 7-bit line carries 7-bit characters, whatever the server passes in the eighth bit.
    if (settings_.dataSize == 7) {
        for (char& c : text) c = static_cast<char>(c & 0x7F);
    }
    return text;
}

bool NetworkPort::waitForData(int timeoutMs) {
    const double start = steadySeconds();
    const auto left = [&] {
        return timeoutMs - static_cast<int>((steadySeconds() - start) * 1000.0);
    };
    if (!opened_ || !recover(timeoutMs)) {
        idle(left());
        return false;
    }
    pump();
    while (received_.empty() && left() > 0 && connected()) {
        if (!awaitData(left())) break;
        pump();
    }
    if (!received_.empty()) return true;
    checkForLoss();
    // A failed wait may return at once; the rest of the time is still waited.
    idle(left());
    return false;
}

}  // namespace sigcond
