#include "push/push_request_queue.h"

PushRequestQueue::PushRequestQueue(std::size_t maxWaiting) : maxWaiting_(maxWaiting) {}

PushAdmission PushRequestQueue::Admit(const std::string& address) {
    std::lock_guard<std::mutex> hold(lock_);
    if (held_.count(address) != 0) {
        return PushAdmission::sameAddress;
    }
    // A request being read has its place among the waiting ones already, so Add never fails.
    if (reading_ + waiting_.size() >= maxWaiting_) {
        return PushAdmission::full;
    }
    held_.insert(address);
    ++reading_;
    return PushAdmission::admitted;
}

void PushRequestQueue::Add(const PushRequest& request) {
    std::lock_guard<std::mutex> hold(lock_);
    if (reading_ > 0) {
        --reading_;
    }
    waiting_.push_back(request);
    added_.notify_one();
}

std::optional<PushRequest> PushRequestQueue::NextToAsk() {
    std::unique_lock<std::mutex> hold(lock_);
    added_.wait(hold, [this] { return !waiting_.empty() || closed_; });
    if (waiting_.empty()) {
        return std::nullopt;
    }
    PushRequest next = waiting_.front();
    waiting_.pop_front();
    return next;
}

void PushRequestQueue::Answered(const std::string& address) {
    std::lock_guard<std::mutex> hold(lock_);
    held_.erase(address);
}

void PushRequestQueue::Close() {
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
    added_.notify_all();
}

std::size_t PushRequestQueue::Waiting() {
    std::lock_guard<std::mutex> hold(lock_);
    return waiting_.size();
}
