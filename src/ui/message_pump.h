// What a wait that keeps the window alive needs of the application: dispatching the messages that
// are waiting, and whether the application is ending. The application implements it; tests give
// a double.
#pragma once

namespace kestrune {

class MessagePump {
 public:
  // Dispatches every message waiting in the thread's queue and returns when it is empty.
  virtual void PumpPendingMessages() = 0;
  // The application is ending: a wait stops acting on what it waited for.
  virtual bool TerminateRequested() const = 0;

 protected:
  ~MessagePump() = default;
};

}  // namespace kestrune
