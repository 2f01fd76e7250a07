// The queue between the listener and the presenter, step by step: one request per address
// until the presenter has answered it, first read first asked, and its bound.
#include "push/push_request_queue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Step {
    const char* op;      // admit, add, next, answered, close
    const char* address; // for admit, add, answered
    const char* result;  // admit: admitted, same, full; next: the address handed out, or none
};

struct QueueCase {
    const char* what;
    std::vector<Step> steps;
};

std::string Admission(PushAdmission admission) {
    switch (admission) {
    case PushAdmission::admitted:
        return "admitted";
    case PushAdmission::sameAddress:
        return "same";
    case PushAdmission::full:
        return "full";
    }
    return "?";
}

PushRequest RequestFrom(const char* address) {
    PushRequest request;
    std::memset(&request, 0, sizeof request);
    std::snprintf(request.peerAddress, sizeof request.peerAddress, "%s", address);
    return request;
}

TEST(PushRequestQueue, OneRequestPerAddressFirstReadFirstAskedWithinItsBound) {
    const QueueCase cases[] = {
        {"an address is held from its accept until the presenter answers",
         {{"admit", "A", "admitted"},
          {"admit", "A", "same"}, // being read
          {"add", "A", ""},
          {"admit", "A", "same"}, // waiting
          {"next", "", "A"},
          {"admit", "A", "same"}, // shown
          {"answered", "A", ""},
          {"admit", "A", "admitted"}}},
        {"the one read first is asked first, whichever was accepted first",
         {{"admit", "A", "admitted"},
          {"admit", "B", "admitted"},
          {"add", "B", ""},
          {"add", "A", ""},
          {"next", "", "B"},
          {"next", "", "A"}}},
        {"at most three wait, counting those being read, not the one shown",
         {{"admit", "A", "admitted"},
          {"add", "A", ""},
          {"admit", "B", "admitted"},
          {"add", "B", ""},
          {"admit", "C", "admitted"},
          {"admit", "D", "full"},
          {"next", "", "A"},
          {"admit", "D", "admitted"},
          {"admit", "E", "full"}}},
        {"a closed queue still hands out what waits, then nothing",
         {{"admit", "A", "admitted"},
          {"add", "A", ""},
          {"close", "", ""},
          {"next", "", "A"},
          {"next", "", "none"}}},
    };
    for (const QueueCase& c : cases) {
        SCOPED_TRACE(c.what);
        PushRequestQueue queue(3);
        for (const Step& step : c.steps) {
            const std::string op = step.op;
            SCOPED_TRACE(op + " " + step.address);
            if (op == "admit") {
                EXPECT_EQ(Admission(queue.Admit(step.address)), step.result);
            } else if (op == "add") {
                queue.Add(RequestFrom(step.address));
            } else if (op == "next") {
                std::optional<PushRequest> next = queue.NextToAsk();
                EXPECT_EQ(next ? std::string(next->peerAddress) : "none", step.result);
            } else if (op == "answered") {
                queue.Answered(step.address);
            } else {
                queue.Close();
            }
        }
    }
}

} // namespace
