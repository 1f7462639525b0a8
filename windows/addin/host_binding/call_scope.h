// SPDX-License-Identifier: MIT
// The add-in runs only inside calls from the host: a connection entry, an event, a click. Calls
// nest (a field written inside an event handler raises the next event before it returns). The
// objects the add-in asks the host for during a call are held until the outermost call returns,
// and no longer: the contract lets the add-in keep them only for the length of a call.
//
//   CallScope scope(objects);           // in every entry from the host
//   Task& task = objects.Keep(std::make_unique<TaskObject>(...));
#pragma once

#include <memory>
#include <vector>

namespace lunavant::winaddin {

// Anything the session holds on the add-in's behalf.
class HeldObject {
 public:
  virtual ~HeldObject() = default;
};

class TransientObjects {
 public:
  TransientObjects() = default;
  TransientObjects(const TransientObjects&) = delete;
  TransientObjects& operator=(const TransientObjects&) = delete;

  template <class T>
  T& Keep(std::unique_ptr<T> object) {
    T& kept = *object;
    held_.push_back(std::move(object));
    return kept;
  }
  void Enter() { ++depth_; }
  // Lets go of every object when the outermost call ends.
  void Leave();
  int Depth() const { return depth_; }

 private:
  std::vector<std::unique_ptr<HeldObject>> held_;
  int depth_ = 0;
};

class CallScope {
 public:
  explicit CallScope(TransientObjects& objects) : objects_(objects) { objects_.Enter(); }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  ~CallScope() { objects_.Leave(); }

 private:
  TransientObjects& objects_;
};

}  // namespace lunavant::winaddin
