// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// A minimal X session manager (XSMP over ICE) for the desktop tests: it lets a test ask a running program to
// checkpoint, to save before a logout that is then cancelled, or to save and die, and reports what the
// program answers. One line per event on standard output; one command per line on standard input:
//   checkpoint | logout-cancel | logout [local | global | both]   (the save type, both by default)
//   quit
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

// What to send a client once it has answered SaveYourself with SaveYourselfDone.
enum class After { Nothing, SaveComplete, ShutdownCancelled, Die };

std::map<SmsConn, After> clients;
std::vector<IceConn> connections;
int nextClientId = 1;

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);  // the test reads us through a pipe, line by line
}

// The test and the program run as the same user on this machine: no authentication.
Bool acceptAnyHost(char*) {
  return True;
}

// The default handler exits the process when a client vanishes; a dying client is a normal event here.
void ignoreIoError(IceConn) {}

Status registerClient(SmsConn sms, SmPointer, char* previousId) {
  // A client restarted by a session manager offers its old id; keeping it is what a real one would do.
  std::string id = previousId ? previousId : "1vostrel-session-test-" + std::to_string(nextClientId++);
  std::free(previousId);
  SmsRegisterClientReply(sms, id.data());
  say("registered " + id);
  return 1;
}

void interactRequest(SmsConn sms, SmPointer, int) {
  say("interact-request");
  SmsInteract(sms);
}

void interactDone(SmsConn sms, SmPointer, Bool cancelShutdown) {
  say(cancelShutdown ? "interact-done cancel-shutdown" : "interact-done");
  if (cancelShutdown && clients[sms] == After::Die) clients[sms] = After::ShutdownCancelled;
}

void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {
  say("save-yourself-request");
}

void saveYourselfPhase2Request(SmsConn sms, SmPointer) {
  // With a single client nobody else has to finish phase 1 first.
  say("save-yourself-phase2-request");
  SmsSaveYourselfPhase2(sms);
}

void saveYourselfDone(SmsConn sms, SmPointer, Bool success) {
  say(success ? "save-yourself-done" : "save-yourself-done failure");
  After after = clients[sms];
  clients[sms] = After::Nothing;
  if (after == After::SaveComplete) SmsSaveComplete(sms);
  if (after == After::ShutdownCancelled) SmsShutdownCancelled(sms);
  if (after == After::Die) SmsDie(sms);
}

void closeConnection(SmsConn sms, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  say("closed");
  clients.erase(sms);
  IceConn ice = SmsGetIceConnection(sms);
  SmsCleanUp(sms);
  // The client asked to close: no need to negotiate it with them again.
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
}

void setProperties(SmsConn, SmPointer, int count, SmProp** properties) {
  for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
  std::free(properties);
}

void deleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}

void getProperties(SmsConn sms, SmPointer) {
  SmsReturnProperties(sms, 0, nullptr);
}

Status newClient(SmsConn sms, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**) {
  clients[sms] = After::Nothing;
  *callbacks = {};
  callbacks->register_client.callback = registerClient;
  callbacks->interact_request.callback = interactRequest;
  callbacks->interact_done.callback = interactDone;
  callbacks->save_yourself_request.callback = saveYourselfRequest;
  callbacks->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
  callbacks->save_yourself_done.callback = saveYourselfDone;
  callbacks->close_connection.callback = closeConnection;
  callbacks->set_properties.callback = setProperties;
  callbacks->delete_properties.callback = deleteProperties;
  callbacks->get_properties.callback = getProperties;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
          SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
          SmsGetPropertiesProcMask;
  say("connected");
  return 1;
}

// A client gone without CloseConnection (crashed, killed) or refused while connecting.
void drop(IceConn ice) {
  for (auto it = clients.begin(); it != clients.end(); ++it) {
    if (SmsGetIceConnection(it->first) != ice) continue;
    say("lost");
    SmsCleanUp(it->first);
    clients.erase(it);
    break;
  }
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
  std::erase(connections, ice);
}

// Sends SaveYourself to every client; `after` is sent once each one is done.
void saveYourself(int type, Bool shutdown, After after) {
  for (auto& [sms, pending] : clients) {
    pending = after;
    SmsSaveYourself(sms, type, shutdown, SmInteractStyleNone, False);
  }
}

// Returns false for quit. The save type defaults to both: Qt emits commitDataRequest only for a global save
// (global or both), and only saveStateRequest for a local one.
bool command(std::string_view line) {
  std::string_view word = line.substr(0, line.find(' '));
  std::string_view kind = word.size() < line.size() ? line.substr(word.size() + 1) : "both";
  int type = kind == "local" ? SmSaveLocal : kind == "global" ? SmSaveGlobal : SmSaveBoth;
  if (kind != "local" && kind != "global" && kind != "both")
    say("unknown save type " + std::string(kind));
  else if (word == "checkpoint")
    saveYourself(type, False, After::SaveComplete);
  else if (word == "logout-cancel")
    saveYourself(type, True, After::ShutdownCancelled);
  else if (word == "logout")
    saveYourself(type, True, After::Die);
  else if (word == "quit")
    return false;
  else
    say("unknown command " + std::string(line));
  return true;
}

}  // namespace

int main() {
  char error[256] = {};
  if (!SmsInitialize("vostrel-tests", "1.0", newClient, nullptr, acceptAnyHost, sizeof error, error)) {
    std::fprintf(stderr, "session_manager: %s\n", error);
    return 1;
  }
  IceSetIOErrorHandler(ignoreIoError);
  int count = 0;
  IceListenObj* all = nullptr;
  if (!IceListenForConnections(&count, &all, sizeof error, error)) {
    std::fprintf(stderr, "session_manager: %s\n", error);
    return 1;
  }
  // Only the local (Unix socket) transport is announced and served; TCP listeners are left unpolled.
  std::vector<IceListenObj> listeners;
  for (int i = 0; i < count; ++i) {
    char* address = IceGetListenConnectionString(all[i]);
    if (std::string_view(address).starts_with("local/")) listeners.push_back(all[i]);
    std::free(address);
  }
  for (IceListenObj listener : listeners) IceSetHostBasedAuthProc(listener, acceptAnyHost);
  char* ids = IceComposeNetworkIdList(static_cast<int>(listeners.size()), listeners.data());
  say(std::string("listening ") + ids);
  std::free(ids);

  std::string input;
  for (bool running = true; running;) {
    std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
    for (IceListenObj listener : listeners)
      fds.push_back({IceGetListenConnectionNumber(listener), POLLIN, 0});
    for (IceConn connection : connections) fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
    if (poll(fds.data(), fds.size(), -1) < 0) continue;

    if (fds[0].revents) {
      char buffer[256];
      ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
      if (got <= 0) break;  // the test went away
      input.append(buffer, static_cast<size_t>(got));
      for (size_t end; running && (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1))
        running = command(std::string_view(input).substr(0, end));
    }
    for (size_t i = 0; i < listeners.size(); ++i) {
      if (!fds[1 + i].revents) continue;
      IceAcceptStatus status;
      IceConn connection = IceAcceptConnection(listeners[i], &status);
      if (connection && status == IceAcceptSuccess) connections.push_back(connection);
    }
    // The connections polled this round; the list may change while their messages are processed.
    std::vector<IceConn> polled = connections;
    for (size_t i = 0; i < polled.size(); ++i) {
      if (!fds[1 + listeners.size() + i].revents) continue;
      IceProcessMessagesStatus status = IceProcessMessages(polled[i], nullptr, nullptr);
      if (status == IceProcessMessagesConnectionClosed)
        std::erase(connections, polled[i]);  // libICE freed it
      else if (status == IceProcessMessagesIOError || IceConnectionStatus(polled[i]) == IceConnectRejected)
        drop(polled[i]);
    }
  }
  IceFreeListenObjs(count, all);  // removes the socket file
  say("quit");
  return 0;
}
