#include "printer/link/tcp_link.h"

#include <vector>

#include "printer/link/frame.h"
#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "protocol/commands.h"

namespace kvitra {
namespace {

void ShowBox(platform::UserInterface& ui, const std::string& text) {
  ui.ShowMessage(text, link_messages::kBoxCaption, platform::MessageButtons::Ok, platform::MessageIcon::None);
}

}  // namespace

TcpAddress SplitAddress(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return {std::string(), text.substr(0, kServiceMaxChars)};
  return {text.substr(0, colon), text.substr(colon + 1, kServiceMaxChars)};
}

std::unique_ptr<platform::TcpSocket> ConnectTcp(platform::TcpNetwork& network, platform::UserInterface& ui,
                                                const std::string& address) {
  const TcpAddress target = SplitAddress(address);
  if (const platform::Status started = network.Startup(); !started) {
    ShowBox(ui, link_messages::kStartupFailed + std::to_string(started.systemCode()));
    return nullptr;
  }
  const platform::Result<std::vector<platform::ResolvedAddress>> candidates =
      network.Resolve(target.host, target.service);
  if (!candidates) {
    ShowBox(ui, link_messages::kResolveFailed + std::to_string(candidates.status().systemCode()));
    network.Cleanup();
    return nullptr;
  }
  for (const platform::ResolvedAddress& candidate : *candidates) {
    platform::Result<std::unique_ptr<platform::TcpSocket>> socket = network.CreateSocket(candidate);
    if (!socket) {
      ShowBox(ui, link_messages::kSocketFailed + std::to_string(socket.status().systemCode()));
      network.Cleanup();
      return nullptr;
    }
    (*socket)->SetReceiveTimeout(kInitialReceiveTimeoutMs);
    if ((*socket)->Connect(candidate)) return std::move(*socket);
    // The socket is closed here, before the next address is tried.
  }
  ShowBox(ui, link_messages::kConnectFailed);
  network.Cleanup();
  return nullptr;
}

TcpLink::TcpLink(std::unique_ptr<platform::TcpSocket> socket, platform::TcpNetwork& network,
                 platform::Clock& clock)
    : socket_(std::move(socket)), network_(network), clock_(clock) {}

TcpLink::~TcpLink() { Close(); }

bool TcpLink::SendFrame(const char* command, bool wantStatus) {
  return socket_ != nullptr && kvitra::SendFrame(*socket_, clock_, command, wantStatus);
}

bool TcpLink::ReceiveReply(char* reply, size_t size) {
  return socket_ != nullptr && kvitra::ReceiveFrame(*socket_, clock_, reply, size, false);
}

void TcpLink::BeginClosing() {
  if (socket_ != nullptr) socket_->SetReceiveTimeout(kClosingReceiveTimeoutMs);
}

void TcpLink::Close() {
  if (socket_ == nullptr) return;
  socket_.reset();
  network_.Cleanup();
}

std::unique_ptr<TcpLink> StartTcpLink(platform::TcpNetwork& network, platform::Clock& clock,
                                      platform::UserInterface& ui, const std::string& address) {
  std::unique_ptr<platform::TcpSocket> socket = ConnectTcp(network, ui, address);
  if (socket == nullptr) {
    ui.ShowError(messages::kErrPortOpen);
    return nullptr;
  }
  auto link = std::make_unique<TcpLink>(std::move(socket), network, clock);
  if (link->SendFrame(protocol::kErrorModeCommand, true)) return link;
  link->Close();
  ui.ShowError(messages::kErrPrinterComm + link_messages::kSuffixErrorMode);
  return nullptr;
}

}  // namespace kvitra
