#pragma once

// The server program's options that the client passes when it starts one:
// named here once, for the server that reads them and the client that
// writes them.
namespace ServerCommandLine {

constexpr char LISTEN[] = "listen";
constexpr char ALLOW[] = "allow";
constexpr char CONTROL[] = "control";
constexpr char TLS_LISTEN[] = "tls-listen";
constexpr char FINGERPRINT[] = "fingerprint"; // prints the certificate's and ends
constexpr char SHOW_KEYS[] = "show-keys";     // prints "view KEY" and "control KEY" and ends
// Without it the plain port listens on loopback addresses only.
constexpr char ALLOW_PLAIN_NETWORK[] = "allow-plain-network";
constexpr char ANY[] = "any";     // --listen: every interface
constexpr char NOBODY[] = "none"; // --control: not even this computer
constexpr char LIST_SEPARATOR = ',';

} // namespace ServerCommandLine
