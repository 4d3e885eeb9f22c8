// Actions of a CCF action list, running a list, and the conversion of a learned CCF code into the
// driver's IrCode. Everything runs on the thread that owns the viewer.
#pragma once

#include <cstdint>
#include <memory>

#include "ccf/model/ccf_model.h"
#include "driver/irdriver/lumbra.h"

class CCFActionHandler;

// One non-empty slot of an action list. Actions are not records of their own: recordOffset stays 0.
class CCFAction : public CCFObject {
public:
    CCFAction(CCFActionList* owner, std::uint8_t type, std::uint32_t p1, std::uint32_t p2)
        : owner(owner), type(type), p1(p1), p2(p2) {}
    // Carries the action out; the result is what the kind's table says (1 done, 0 not).
    virtual std::uint32_t Execute(CCFActionHandler* handler) = 0;

    CCFActionList* owner;  // not owned
    std::uint8_t type;
    std::uint32_t p1;
    std::uint32_t p2;
};

// Type 1: send the IR code record that p2 points to (read when the list is built).
class CCFIRCodeAction : public CCFAction {
public:
    CCFIRCodeAction(CCFActionList* owner, std::uint32_t p1, std::uint32_t p2, std::unique_ptr<CCFIRCode> code);
    ~CCFIRCodeAction() override;
    std::uint32_t Execute(CCFActionHandler* handler) override;
    std::unique_ptr<CCFIRCode> code;  // null when p2 was 0 or the record lies outside the file
};

// Type 2: run the action list of button p2 of device p1.
class CCFButtonAliasAction : public CCFAction {
public:
    using CCFAction::CCFAction;
    std::uint32_t Execute(CCFActionHandler* handler) override;
};

// Types 3 and 9: show device p1 at panel p2 (0: its first panel).
class CCFJumpAction : public CCFAction {
public:
    using CCFAction::CCFAction;
    std::uint32_t Execute(CCFActionHandler* handler) override;
};

// Type 4: wait p2 milliseconds.
class CCFDelayAction : public CCFAction {
public:
    using CCFAction::CCFAction;
    std::uint32_t Execute(CCFActionHandler* handler) override;
};

// Types 5, 7 and 8: kept, and do nothing.
class CCFInertAction : public CCFAction {
public:
    using CCFAction::CCFAction;
    std::uint32_t Execute(CCFActionHandler*) override { return 0; }
};

// Type 6: show device p1 at its first panel.
class CCFDeviceJumpAction : public CCFAction {
public:
    using CCFAction::CCFAction;
    std::uint32_t Execute(CCFActionHandler* handler) override;
};

// The action of an entry's type, or null for a type that leaves an empty slot (0 and above 9). Type 1 gets
// its IR code from the caller, who reads it from the file.
std::unique_ptr<CCFAction> MakeCCFAction(CCFActionList* owner, std::uint8_t type, std::uint32_t p1, std::uint32_t p2,
                                         std::unique_ptr<CCFIRCode> code);

// How actions reach the viewer.
class CCFActionHandler {
public:
    virtual ~CCFActionHandler() = default;
    virtual std::uint32_t ShowDeviceFirstPanel(std::uint32_t deviceOffset, CCFAction* caller) = 0;
    // 1 if the device was found (and shown), else 0 with nothing changed.
    virtual std::uint32_t ShowDevice(std::uint32_t deviceOffset, std::uint32_t panelOffset) = 0;
    // 1 if the button was found (and its list run), else 0.
    virtual std::uint32_t RunButtonAlias(std::uint32_t deviceOffset, std::uint32_t buttonOffset) = 0;
};

// The model's half of a handler: the first-panel jump and the alias search over a file's devices. The
// viewer derives from it and supplies ShowDevice.
class CCFFileActionHandler : public CCFActionHandler {
public:
    // Aliases that lead back to themselves stop after this many nested runs.
    static constexpr int kMaxAliasDepth = 16;
    // And a tap runs at most this many aliased lists in all, however many aliases its own list holds: a list
    // of aliases back to itself would otherwise run a number of times exponential in the depth.
    static constexpr int kMaxAliasRuns = 256;

    explicit CCFFileActionHandler(const CCFFile* file) : file_(file) {}
    std::uint32_t ShowDeviceFirstPanel(std::uint32_t deviceOffset, CCFAction* caller) override;
    // Called from outside any list run, the alias is a tap of its own.
    std::uint32_t RunButtonAlias(std::uint32_t deviceOffset, std::uint32_t buttonOffset) override;

protected:
    const CCFFile* File() const { return file_; }

private:
    const CCFFile* file_;
};

// Runs the list's actions in order until its end or its first empty slot; a failing action does not stop
// the run. A null list does nothing. The outermost run on a thread is a tap: the alias bounds count from it.
void RunCCFActionList(const CCFActionList* list, CCFActionHandler* handler);

// The first device, over the three chains in order, whose record is at deviceOffset; its chain (1-3) in
// *chain when given. Null when none.
CCFDevice* FindCCFDevice(const CCFFile& file, std::uint32_t deviceOffset, int* chain = nullptr);
// The first button whose record is at buttonOffset: panels in order, items in order, each item's frame
// searched depth first before the item's own button.
CCFButton* FindCCFButton(const CCFDevice& device, std::uint32_t buttonOffset);

// The carrier period in microseconds that the driver keys the light with, 0 when the code cannot be sent.
// It follows from the frequency, except where the 16-bit frequency has wrapped (divisor below 64): there it
// follows from the divisor itself, and a period that truncates to 0 cannot be sent.
std::uint32_t CCFCarrierPeriodUs(const CCFLearnedCode& learned);
// Fills code from a learned code as the driver plays it: durations in microseconds (marks positive, spaces
// negative), the once pairs then the repeat pairs, and a closing space when the last one is short. False,
// with nothing to send, when the code has no carrier period (see CCFCarrierPeriodUs) or no pairs. A code too
// long for the buffer is cut at a pair boundary.
bool ConvertCCFLearnedCode(const CCFLearnedCode& learned, IrCode& code);
// Converts and hands the code to the driver, sent once. 1 if it was handed over, else 0.
std::uint32_t SendCCFIRCode(const CCFIRCode* irCode);

// Lowest carrier whose period (1000000 / f microseconds) still fits the 8-bit carrier field.
inline constexpr std::uint32_t kCCFMinCarrierHz = 3922;
// The longest a delay action waits. The record holds 32 bits, but a tap that froze the handheld for more
// than a minute would be a damaged file, not a macro.
inline constexpr std::uint32_t kCCFMaxDelayMs = 65535;

// What actions do outside the model: wait out a delay, and hand a filled code to the driver. By default the
// handheld's Sleep and the driver singleton's Send (once); a tool or a fuzzer that must never block puts
// its own in. A null member keeps the default.
struct CCFActionEffects {
    void (*sleep)(std::uint32_t milliseconds) = nullptr;
    bool (*send)(IrCode& code) = nullptr;  // true when the code was handed over
};
// Replaces the effects for every later action; gives back the ones it replaced. Set before lists run, on
// the thread that runs them.
CCFActionEffects SetCCFActionEffects(const CCFActionEffects& effects);
