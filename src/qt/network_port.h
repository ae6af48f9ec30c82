// The serial-port seam over a TCP connection to a serial device server: "Com n" set to
// rfc2217://HOST:PORT (Telnet; the program sets the remote line) or socket://HOST:PORT (plain
// TCP; the server's own line settings apply and line settings are only remembered).
//
// Like the local adapter, a connection that drops while the port is open does not end the
// program's use of it: every operation fails quietly, the adapter connects again by itself with
// a growing pause between attempts (at most a few seconds), sets the line again (servers reset
// it on every connection) and the port answers as before. failed() tells that it happened,
// until the port is opened again. Every wait is bounded and sleeps in the socket's wait calls.
#pragma once

#include <QHostAddress>
#include <QTcpSocket>
#include <memory>
#include <optional>
#include <string>

#include "link/port_url.h"
#include "link/telnet_codec.h"
#include "platform/serial_port.h"
#include "qt/raw_socket.h"

namespace sigcond {

class NetworkPort : public SerialPort {
public:
    NetworkPort();
    ~NetworkPort() override;

    void setPortNumber(int number) override { portNumber_ = number; }
    void setLineSettings(const std::string& settings) override;
    // Connects to the address "Com n" stands for; false (with errorText()) when the address is
    // not valid, the host is unknown, refuses or does not answer within a few seconds, or the
    // server sends text and closes instead of serving the line.
    bool open() override;
    void close() override;
    bool isOpen() const override { return opened_; }
    bool write(const std::string& text) override;
    int waitingCount() override;
    std::string readAll() override;
    bool waitForData(int timeoutMs) override;
    std::string errorText() const override { return errorText_; }
    bool failed() const override { return failed_; }

    // The address opened last ("" before the first open).
    const std::string& address() const { return address_; }
    // The line settings the server reported for the last ones set (rfc2217:// only; zeros
    // until they come), and how many of baud, data size, parity and stop size it reported.
    telnet::LineSettings acknowledgedSettings() const;
    int acknowledgedCount() const;
    // Connections made since open() after the first one dropped.
    int reconnections() const { return reconnections_; }
    // Why the line settings set last may not be the wire's, or "" when the server carried them
    // out: it refused line control or has not agreed to it, did not acknowledge them all, or
    // acknowledged other values.
    std::string lineSettingsCaveat() const;

private:
    // Starts a connection to the resolved address; true when it is under way.
    bool startConnecting();
    // Once connected: socket options, then the opening negotiation (the line settings follow
    // the server's agreement to line control).
    void beginSession();
    // Waits until the server has answered the negotiation and the line settings, or has closed
    // the connection (false). Bounded by the time a server of the URL's kind is given.
    bool settle();
    // "the server closed the connection", with what the server said before it did.
    std::string closedText() const;
    // Waits (at most timeoutMs) for something to read. What the socket took in while we were
    // writing (Qt reads in its write waits too) counts: waitForReadyRead waits only for more.
    bool awaitData(int timeoutMs);
    // Reads what the socket holds, answers negotiation, keeps the data.
    void pump();
    // Sends bytes as they are; false when the connection failed.
    bool send(const std::string& bytes);
    void sendLineSettings();
    // After a failed operation: when the connection has gone, note it and plan a new one.
    void checkForLoss();
    void forgetConnection();
    // While the connection is gone: moves a new one on, within `budgetMs`. True when usable.
    bool recover(int budgetMs);
    bool startReconnecting();
    void dropReconnecting();
    bool connected() const;

    QTcpSocket socket_;
    int portNumber_ = 0;
    std::string address_;
    std::optional<PortUrl> url_;
    QHostAddress host_;
    std::unique_ptr<telnet::Codec> codec_;
    telnet::LineSettings settings_;
    std::string received_;    // data waiting to be read
    std::string serverText_;  // what the server sent before the line was ready (its complaint)
    std::string errorText_;
    bool opened_ = false;
    bool ready_ = false;    // connected and the session begun
    bool lost_ = false;     // opened, then the connection dropped
    bool failed_ = false;   // it dropped since the last open()
    bool purging_ = false;  // data at the old line settings may still arrive
    bool settingsDue_ = false;  // line settings to send once the server agrees to line control
    bool served_ = false;       // this connection brought data or an acknowledgement
    raw_socket::Descriptor connecting_ = raw_socket::kNone;  // a new connection under way
    double nextAttempt_ = 0;
    double attemptStarted_ = 0;
    double pause_ = 0;
    int reconnections_ = 0;
};

}  // namespace sigcond
