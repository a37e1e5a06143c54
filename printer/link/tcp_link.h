#pragma once
// The printer link over TCP: the address split, the connection over every
// resolved address, the start-up with the error-mode command, the receive time
// of the closing, and one release. Over TCP a request and its reply are tried
// once, and no status byte is asked for after a reply.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/tcp_network.h"
#include "platform/user_interface.h"
#include "printer/link/printer_link.h"

namespace kvitra {

inline constexpr uint32_t kInitialReceiveTimeoutMs = 5000;
inline constexpr uint32_t kClosingReceiveTimeoutMs = 30000;
inline constexpr size_t kServiceMaxChars = 5;

struct TcpAddress {
  std::string host;
  std::string service;
};

// The host is everything before the first ':', the service at most the five
// characters after it; without a colon the host is empty and the service the
// first five characters.
TcpAddress SplitAddress(const std::string& text);

// Starts the network layer and connects to the first resolved address that
// accepts. Every failure shows its message box and leaves nothing open.
std::unique_ptr<platform::TcpSocket> ConnectTcp(platform::TcpNetwork& network, platform::UserInterface& ui,
                                                const std::string& address);

class TcpLink : public PrinterLink {
 public:
  TcpLink(std::unique_ptr<platform::TcpSocket> socket, platform::TcpNetwork& network,
          platform::Clock& clock);
  ~TcpLink() override;

  bool SendFrame(const char* command, bool wantStatus) override;
  bool SendRequest(const char* command) override { return SendFrame(command, false); }
  bool ReceiveReply(char* reply, size_t size) override;
  // The receive time of the start-up holds for these steps.
  bool BeginReceipt(int64_t) override { return true; }
  bool BeginPayout() override { return true; }
  bool BeginCashState() override { return true; }
  // The printer may take up to 30 s to print and close a receipt.
  void BeginClosing() override;
  bool CancelsRefusedOpening() const override { return true; }
  // Closes the socket and releases the network layer, once.
  void Close() override;

 private:
  std::unique_ptr<platform::TcpSocket> socket_;
  platform::TcpNetwork& network_;
  platform::Clock& clock_;
};

// The TCP start-up: connect, then the error-mode command at once, with no
// second try.
// nullptr after a failure, with its messages shown.
std::unique_ptr<TcpLink> StartTcpLink(platform::TcpNetwork& network, platform::Clock& clock,
                                      platform::UserInterface& ui, const std::string& address);

}  // namespace kvitra
