// One hidden window per process, shared by every client of a kind (the tray icons, the simple
// timers): made with the first client, reference-counted, and destroyed with the last once no
// dispatch through it is running. Clients are registered under identities that are never reused
// while one is taken, so a message left in the queue by a client that has gone reaches no other.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ui/failure_sink.h"
#include "ui/window_base.h"

namespace kestrune {

template <typename Derived, typename Client, typename Id>
class SharedHandler : protected WindowBase {
 public:
  static Derived& Acquire() {
    if (!instance_) instance_.reset(new Derived);
    ++instance_->references_;
    return *instance_;
  }

  static void Release() noexcept {
    if (!instance_ || instance_->references_ == 0) return;
    --instance_->references_;
    instance_->DestroyWhenUnused();
  }

  static Derived* Instance() { return instance_.get(); }

  // A client's place with the handler for as long as the client lives: the reference keeps the
  // window, the identity reaches the client.
  class Registration {
   public:
    explicit Registration(Client& client)
        : client_(client), identity_(reference_.handler.Register(client)) {}
    ~Registration() { reference_.handler.Unregister(client_); }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    Id Identity() const { return identity_; }
    HWND Window() const { return reference_.handler.Window(); }

   private:
    struct Reference {
      Reference() : handler(Acquire()) {}
      ~Reference() { Release(); }
      Derived& handler;
    };
    Reference reference_;  // first: a refused registration still lets go of the window
    Client& client_;
    Id identity_;
  };

  HWND Window() const { return Handle(); }

  Id Register(Client& client) {
    do {
      if (++last_identity_ == 0) ++last_identity_;
    } while (Find(last_identity_));
    clients_.emplace_back(last_identity_, &client);
    return last_identity_;
  }

  void Unregister(const Client& client) {
    std::erase_if(clients_, [&](const auto& entry) { return entry.second == &client; });
  }

 protected:
  SharedHandler() = default;

  Client* Find(Id identity) const {
    const auto found = std::find_if(clients_.begin(), clients_.end(),
                                    [&](const auto& entry) { return entry.first == identity; });
    return found == clients_.end() ? nullptr : found->second;
  }

  // Runs a client's handler behind the barrier. The handler may destroy its client, even the
  // last one: the window then goes once the handler has returned.
  template <typename Handler>
  void Dispatch(Handler&& handler) {
    ++dispatching_;
    CallGuarded(std::forward<Handler>(handler));
    --dispatching_;
    DestroyWhenUnused();
  }

 private:
  void DestroyWhenUnused() noexcept {
    if (references_ == 0 && dispatching_ == 0) instance_.reset();
  }

  // Finalization destroys a handler that is still there.
  static inline std::unique_ptr<Derived> instance_;
  std::uint32_t references_ = 0;
  std::uint32_t dispatching_ = 0;
  Id last_identity_ = 0;
  std::vector<std::pair<Id, Client*>> clients_;
};

}  // namespace kestrune
