#include "bots/VantorBotWorker.h"

#include <utility>

#include "ios/Exception.h"

VantorBotWorker::VantorBotWorker() : stopping_(false), running_(false), thread_(this) {}

VantorBotWorker::~VantorBotWorker() {
  stop();
}

bool VantorBotWorker::start() {
  std::lock_guard<std::mutex> control(control_);
  if (running_.load()) return true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return false;
  }
  try {
    thread_.start();
    running_ = true;
  } catch (Exception* e) {
    e->print();
    delete e;
  }
  return running_.load();
}

void VantorBotWorker::post(Job work) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    work_.push_back(std::move(work));
  }
  wake_.notify_one();
  ensureRunning();
}

void VantorBotWorker::schedule(Clock::time_point due, Job action) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    actions_.emplace(due, std::move(action));
  }
  wake_.notify_one();
  ensureRunning();
}

void VantorBotWorker::ensureRunning() {
  if (!running_.load()) start();
}

void VantorBotWorker::stop() {
  std::lock_guard<std::mutex> control(control_);
  std::deque<Job> droppedWork;
  std::multimap<Clock::time_point, Job> droppedActions;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    droppedWork.swap(work_);
    droppedActions.swap(actions_);
  }
  wake_.notify_all();
  if (!running_.load()) return;
  try {
    thread_.join();
  } catch (Exception* e) {
    // The body may end before join is reached; join has reaped it all the same.
    delete e;
  }
  running_ = false;
}

void VantorBotWorker::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    Job job;
    if (!actions_.empty() && actions_.begin()->first <= Clock::now()) {
      job = std::move(actions_.begin()->second);
      actions_.erase(actions_.begin());
    } else if (!work_.empty()) {
      job = std::move(work_.front());
      work_.pop_front();
    } else if (actions_.empty()) {
      wake_.wait(lock);
      continue;
    } else {
      wake_.wait_until(lock, actions_.begin()->first);
      continue;
    }
    lock.unlock();
    try {
      job();
    } catch (Exception* e) {
      e->print();
      delete e;
    }
    // What the job holds is let go outside the lock.
    job = nullptr;
    lock.lock();
  }
}
