// A mutex the compiler can reason about. Clang's thread-safety analysis
// (-Wthread-safety) checks that every field marked GUARDED_BY is touched only
// with its lock held, that a function marked REQUIRES is called with it and
// one marked EXCLUDES without it. Other compilers see plain code.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#if defined(__clang__)
#define VMX_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define VMX_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) VMX_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY VMX_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) VMX_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) VMX_THREAD_ANNOTATION(pt_guarded_by(x))
#define REQUIRES(...) VMX_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) VMX_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) VMX_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) VMX_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define RETURN_CAPABILITY(x) VMX_THREAD_ANNOTATION(lock_returned(x))
#define NO_THREAD_SAFETY_ANALYSIS VMX_THREAD_ANNOTATION(no_thread_safety_analysis)

namespace vmx {

class CAPABILITY("mutex") Mutex {
 public:
  void Lock() ACQUIRE() { m_.lock(); }
  void Unlock() RELEASE() { m_.unlock(); }
  // BasicLockable, for std::condition_variable_any only: code names Lock/Unlock
  // or MutexLock, which the analysis follows.
  void lock() ACQUIRE() { m_.lock(); }
  void unlock() RELEASE() { m_.unlock(); }

 private:
  std::mutex m_;
};

// Holds `mutex` for its scope.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~MutexLock() RELEASE() { mutex_.Unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

// Waits on a Mutex the caller holds. Callers loop on their own condition,
// in their own function, where the analysis knows the lock is held (it cannot
// follow a predicate handed over as a lambda). A wait lets go of the lock and
// takes it again before it returns.
class CondVar {
 public:
  void Wait(Mutex& mutex) REQUIRES(mutex) { cv_.wait(mutex); }
  // False once `until` has passed.
  template <class Clock, class Duration>
  bool WaitUntil(Mutex& mutex, const std::chrono::time_point<Clock, Duration>& until)
      REQUIRES(mutex) {
    return cv_.wait_until(mutex, until) == std::cv_status::no_timeout;
  }
  void NotifyAll() { cv_.notify_all(); }

 private:
  std::condition_variable_any cv_;
};

}  // namespace vmx
