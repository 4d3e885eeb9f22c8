// Timings of each protocol from its IRP description: carrier, time unit, bit forms and frame layout.
#include <cstdlib>

#include "app/codes/protocol.h"

namespace codes {
namespace {

struct BitForm {
    int burst0, space0, burst1, space1;  // in time units; a negative burst means the pause comes first
};

class FrameBuilder {
public:
    explicit FrameBuilder(double unitUs) : unitUs_(unitUs) {}

    void Burst(double units) { Add(static_cast<std::int32_t>(units * unitUs_ + 0.5)); }
    void Pause(double units) { Add(-static_cast<std::int32_t>(units * unitUs_ + 0.5)); }
    void PauseUs(std::int32_t us) { Add(-us); }
    // Pulse distance or width bits: each bit a burst then a pause.
    void Bits(std::uint64_t value, int count, bool msbFirst, const BitForm& form) {
        for (int i = 0; i < count; ++i) {
            const int bit = static_cast<int>(value >> (msbFirst ? count - 1 - i : i) & 1);
            Burst(bit ? form.burst1 : form.burst0);
            Pause(bit ? form.space1 : form.space0);
        }
    }
    // Biphase bits: one half of the bit in each level; onePauseFirst says how a 1 starts.
    void Biphase(std::uint64_t value, int count, bool onePauseFirst, double halfUnits = 1) {
        for (int i = 0; i < count; ++i) {
            const bool bit = (value >> (count - 1 - i) & 1) != 0;
            if (bit == onePauseFirst) {
                Pause(halfUnits);
                Burst(halfUnits);
            } else {
                Burst(halfUnits);
                Pause(halfUnits);
            }
        }
    }
    // Pads the frame's last pause so that the frame lasts totalUs from its start.
    void ExtentUs(std::int32_t totalUs) {
        std::int64_t sum = 0;
        for (std::size_t i = frameStart_; i < out_.size(); ++i) sum += std::abs(out_[i]);
        PauseUs(static_cast<std::int32_t>(totalUs > sum ? totalUs - sum : unitUs_));
    }
    void StartFrame() { frameStart_ = out_.size(); }
    std::size_t Size() const { return out_.size(); }
    std::vector<std::int32_t> Take() {
        if (!out_.empty() && out_.front() < 0) out_.erase(out_.begin());
        return std::move(out_);
    }
    // A leading pause is dropped by Take; indexes taken before it shift by one.
    bool StartsWithPause() const { return !out_.empty() && out_.front() < 0; }

private:
    void Add(std::int32_t us) {
        if (us == 0) return;
        if (!out_.empty() && (out_.back() < 0) == (us < 0)) {
            out_.back() += us;
        } else {
            out_.push_back(us);
        }
    }
    double unitUs_;
    std::vector<std::int32_t> out_;
    std::size_t frameStart_ = 0;
};

constexpr BitForm kDistance13{1, 1, 1, 3};  // NEC, JVC, Kaseikyo...

bool InRange(int value, int bits) {
    return value >= 0 && value < (1 << bits);
}

void Finish(FrameBuilder& frame, std::size_t repeatStart, int frequencyHz, IrSignal& signal) {
    const bool shifted = frame.StartsWithPause();
    signal.frequencyHz = frequencyHz;
    signal.durationsUs = frame.Take();
    signal.repeatStart = shifted && repeatStart > 0 ? repeatStart - 1 : repeatStart;
}

bool EncodeNec(const ProtocolFields& f, IrSignal& signal) {
    const bool extended = f.protocol.rfind("NECx", 0) == 0;
    const bool wideFunction = f.protocol.ends_with("-f16");
    const bool ditto = f.protocol[extended ? 4 : 3] == '1';
    const int subdevice = f.subdevice >= 0 ? f.subdevice : (extended ? f.device : 0xFF & ~f.device);
    if (!InRange(f.device, 8) || !InRange(subdevice, 8) || !InRange(f.function, wideFunction ? 16 : 8)) return false;
    const int function16 = wideFunction ? f.function : f.function | (0xFF & ~f.function) << 8;
    FrameBuilder frame(564);
    frame.Burst(extended ? 8 : 16);
    frame.Pause(8);
    const std::uint32_t bits =
        static_cast<std::uint32_t>(f.device | subdevice << 8) | static_cast<std::uint32_t>(function16) << 16;
    frame.Bits(bits, 32, false, kDistance13);
    frame.Burst(1);
    frame.ExtentUs(108000);
    std::size_t repeatStart = 0;
    if (ditto) {
        repeatStart = frame.Size();
        frame.StartFrame();
        frame.Burst(extended ? 8 : 16);
        frame.Pause(extended ? 8 : 4);
        if (extended) frame.Bits(f.device & 1, 1, false, kDistance13);
        frame.Burst(1);
        frame.ExtentUs(108000);
    }
    Finish(frame, repeatStart, extended ? 38000 : 38400, signal);
    return true;
}

bool EncodeAiwa(const ProtocolFields& f, IrSignal& signal) {
    const int subdevice = f.subdevice >= 0 ? f.subdevice : 0;
    if (!InRange(f.device, 8) || !InRange(subdevice, 5) || !InRange(f.function, 8)) return false;
    const std::uint64_t address = static_cast<std::uint64_t>(f.device | subdevice << 8);
    FrameBuilder frame(550);
    frame.Burst(16);
    frame.Pause(8);
    frame.Bits(address, 13, false, kDistance13);
    frame.Bits(0x1FFF & ~address, 13, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(f.function), 8, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(0xFF & ~f.function), 8, false, kDistance13);
    frame.Burst(1);
    frame.Pause(42);
    const std::size_t repeatStart = frame.Size();
    frame.Burst(16);
    frame.Pause(8);
    frame.Burst(1);
    frame.Pause(165);
    Finish(frame, repeatStart, 38000, signal);
    return true;
}

bool EncodeNec42(const ProtocolFields& f, IrSignal& signal) {
    const int subdevice = f.subdevice >= 0 ? f.subdevice : 0x1FFF & ~f.device;
    if (!InRange(f.device, 13) || !InRange(subdevice, 13) || !InRange(f.function, 8)) return false;
    FrameBuilder frame(564);
    frame.Burst(16);
    frame.Pause(8);
    frame.Bits(static_cast<std::uint64_t>(f.device), 13, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(subdevice), 13, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(f.function), 8, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(0xFF & ~f.function), 8, false, kDistance13);
    frame.Burst(1);
    frame.ExtentUs(108000);
    const std::size_t repeatStart = frame.Size();
    frame.StartFrame();
    frame.Burst(16);
    frame.Pause(4);
    frame.Burst(1);
    frame.ExtentUs(108000);
    Finish(frame, repeatStart, 38000, signal);
    return true;
}

bool EncodeSamsung36(const ProtocolFields& f, IrSignal& signal) {
    const int subdevice = f.subdevice >= 0 ? f.subdevice : f.device;
    if (!InRange(f.device, 8) || !InRange(subdevice, 8) || !InRange(f.function, 8)) return false;
    FrameBuilder frame(500);
    frame.Burst(9);
    frame.Pause(9);
    frame.Bits(static_cast<std::uint64_t>(f.device | subdevice << 8), 16, false, kDistance13);
    frame.Burst(1);
    frame.Pause(9);
    frame.Bits(1, 4, false, kDistance13);
    frame.Bits(static_cast<std::uint64_t>(f.function), 8, false, kDistance13);
    frame.PauseUs(68);
    frame.Bits(static_cast<std::uint64_t>(0xFF & ~f.function), 8, false, kDistance13);
    frame.Burst(1);
    frame.Pause(118);
    Finish(frame, 0, 38000, signal);
    return true;
}

bool EncodeJvc(const ProtocolFields& f, IrSignal& signal) {
    if (!InRange(f.device, 8) || !InRange(f.function, 8)) return false;
    FrameBuilder frame(527);
    frame.Burst(16);
    frame.Pause(8);
    const std::size_t repeatStart = frame.Size();
    frame.Bits(static_cast<std::uint64_t>(f.device | f.function << 8), 16, false, kDistance13);
    frame.Burst(1);
    frame.Pause(45);
    Finish(frame, repeatStart, 38000, signal);
    return true;
}

bool EncodePanasonic(const ProtocolFields& f, IrSignal& signal) {
    const int subdevice = f.subdevice >= 0 ? f.subdevice : 0;
    if (!InRange(f.device, 8) || !InRange(subdevice, 8) || !InRange(f.function, 8)) return false;
    const std::uint8_t bytes[6] = {2,
                                   32,
                                   static_cast<std::uint8_t>(f.device),
                                   static_cast<std::uint8_t>(subdevice),
                                   static_cast<std::uint8_t>(f.function),
                                   static_cast<std::uint8_t>(f.device ^ subdevice ^ f.function)};
    return EncodeKaseikyoBytes(bytes, signal);
}

// Manchester bits of the Philips protocols, from the most significant.
bool EncodeRc5(const ProtocolFields& f, IrSignal& signal) {
    const bool extended = f.protocol == "RC5x";
    const int toggle = f.toggle.value_or(0);
    if (!InRange(f.device, 5) || !InRange(f.function, extended ? 6 : 7) || !InRange(toggle, 1)) return false;
    if (extended && !InRange(f.subdevice, 7)) return false;
    const int sixth = extended ? f.subdevice : f.function;
    FrameBuilder frame(889);
    const std::uint64_t head = 1u << 7 | static_cast<std::uint64_t>((sixth >> 6 & 1) ^ 1) << 6 |
                               static_cast<std::uint64_t>(toggle) << 5 | static_cast<std::uint64_t>(f.device);
    frame.Biphase(head, 8, true);
    if (extended) {
        frame.Pause(4);
        frame.Biphase(static_cast<std::uint64_t>((f.subdevice & 0x3F) << 6 | f.function), 12, true);
    } else {
        frame.Biphase(static_cast<std::uint64_t>(f.function & 0x3F), 6, true);
    }
    frame.ExtentUs(113778);
    Finish(frame, 0, 36000, signal);
    return true;
}

bool EncodeRc6(const ProtocolFields& f, IrSignal& signal) {
    const int toggle = f.toggle.value_or(0);
    if (!InRange(f.device, 8) || !InRange(f.function, 8) || !InRange(toggle, 1)) return false;
    FrameBuilder frame(444);
    frame.Burst(6);
    frame.Pause(2);
    frame.Biphase(0b1000, 4, false);  // start bit, mode 0
    frame.Biphase(static_cast<std::uint64_t>(toggle), 1, false, 2);
    frame.Biphase(static_cast<std::uint64_t>(f.device << 8 | f.function), 16, false);
    frame.ExtentUs(106560);
    Finish(frame, 0, 36000, signal);
    return true;
}

bool EncodeSony(const ProtocolFields& f, IrSignal& signal) {
    const int deviceBits = f.protocol == "Sony15" ? 8 : 5;
    const bool twenty = f.protocol == "Sony20";
    if (!InRange(f.device, deviceBits) || !InRange(f.function, 7) || (twenty && !InRange(f.subdevice, 8))) {
        return false;
    }
    FrameBuilder frame(600);
    frame.Burst(4);
    frame.Pause(1);
    std::uint64_t bits = static_cast<std::uint64_t>(f.function) | static_cast<std::uint64_t>(f.device) << 7;
    int count = 7 + deviceBits;
    if (twenty) {
        bits |= static_cast<std::uint64_t>(f.subdevice) << 12;
        count = 20;
    }
    frame.Bits(bits, count, false, BitForm{1, 1, 2, 1});
    frame.ExtentUs(45000);
    Finish(frame, 0, 40000, signal);
    return true;
}

// Denon and Sharp: a frame and its inverted twin, told apart by the two extension bits.
bool EncodeDenonSharp(const ProtocolFields& f, IrSignal& signal) {
    if (!InRange(f.device, 5) || !InRange(f.function, 8)) return false;
    const bool sharp = f.protocol == "Sharp";
    FrameBuilder frame(264);
    const BitForm form{1, 3, 1, 7};
    frame.Bits(static_cast<std::uint64_t>(f.device | f.function << 5 | (sharp ? 1 : 0) << 13), 15, false, form);
    frame.Burst(1);
    frame.Pause(165);
    frame.Bits(static_cast<std::uint64_t>(f.device | (0xFF & ~f.function) << 5 | (sharp ? 2 : 3) << 13), 15, false,
               form);
    frame.Burst(1);
    frame.Pause(165);
    Finish(frame, 0, 38000, signal);
    return true;
}

bool EncodeRca(const ProtocolFields& f, IrSignal& signal) {
    if (!InRange(f.device, 4) || !InRange(f.function, 8)) return false;
    FrameBuilder frame(460);
    frame.Burst(8);
    frame.Pause(8);
    const std::uint64_t bits = static_cast<std::uint64_t>(f.device) << 20 |
                               static_cast<std::uint64_t>(f.function) << 12 |
                               static_cast<std::uint64_t>(0xF & ~f.device) << 8 | (0xFF & ~f.function);
    frame.Bits(bits, 24, true, BitForm{1, 2, 1, 4});
    frame.Burst(1);
    frame.Pause(16);
    Finish(frame, 0, 58000, signal);
    return true;
}

bool EncodeMitsubishi(const ProtocolFields& f, IrSignal& signal) {
    if (!InRange(f.device, 8) || !InRange(f.function, 8)) return false;
    FrameBuilder frame(300);
    frame.Bits(static_cast<std::uint64_t>(f.device | f.function << 8), 16, false, BitForm{1, 3, 1, 7});
    frame.Burst(1);
    frame.Pause(80);
    Finish(frame, 0, 32600, signal);
    return true;
}

}  // namespace

bool EncodeKaseikyoBytes(const std::uint8_t (&bytes)[6], IrSignal& signal) {
    FrameBuilder frame(432);
    frame.Burst(8);
    frame.Pause(4);
    for (const std::uint8_t byte : bytes) frame.Bits(byte, 8, false, kDistance13);
    frame.Burst(1);
    frame.Pause(173);
    Finish(frame, 0, 37000, signal);
    return true;
}

bool HasToggle(const std::string& protocol) {
    return protocol == "RC5" || protocol == "RC5x" || protocol == "RC6";
}

bool EncodeProtocol(const ProtocolFields& fields, IrSignal& signal) {
    const std::string& p = fields.protocol;
    if (p == "NEC1" || p == "NEC2" || p == "NECx1" || p == "NECx2" || p == "NEC1-f16" || p == "NEC2-f16" ||
        p == "NECx1-f16" || p == "NECx2-f16") {
        return EncodeNec(fields, signal);
    }
    if (p == "NEC42") return EncodeNec42(fields, signal);
    if (p == "Aiwa") return EncodeAiwa(fields, signal);
    if (p == "Samsung36") return EncodeSamsung36(fields, signal);
    if (p == "JVC") return EncodeJvc(fields, signal);
    if (p == "Panasonic") return EncodePanasonic(fields, signal);
    if (p == "RC5" || p == "RC5x") return EncodeRc5(fields, signal);
    if (p == "RC6") return EncodeRc6(fields, signal);
    if (p == "Sony12" || p == "Sony15" || p == "Sony20") return EncodeSony(fields, signal);
    if (p == "Denon" || p == "Sharp") return EncodeDenonSharp(fields, signal);
    if (p == "RCA") return EncodeRca(fields, signal);
    if (p == "Mitsubishi") return EncodeMitsubishi(fields, signal);
    return false;
}

}  // namespace codes
