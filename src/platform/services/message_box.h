#pragma once
// The modal message box's buttons and answers, shared by every backend.

namespace dalvo::platform {

enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

// The answer a box shows pre-selected: Yes when it asks, else OK.
constexpr MsgAnswer default_answer(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

// An answer the box has no button for counts as its default button.
constexpr MsgAnswer fit_answer(MsgAnswer answer, MsgButtons buttons) {
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return answer == MsgAnswer::Ok ? MsgAnswer::Yes : answer;
}

// "ok", "yes" or "no", as the trace and the input script write it.
constexpr const char* answer_name(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Yes: return "yes";
        case MsgAnswer::No: return "no";
        case MsgAnswer::Ok: break;
    }
    return "ok";
}

}  // namespace dalvo::platform
