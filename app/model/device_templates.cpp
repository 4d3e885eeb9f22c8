#include "app/model/device_templates.h"

#include <array>

namespace {

// COLORREF from red, green and blue as the tables give them.
constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

constexpr std::array<TemplateRow, 23> kReceiverRows{{
    {u"CH1", u"CHANAL", u"LABEL1", 1, 1, Rgb(100, 50, 255)},
    {u"CH2", u"CHANAL", u"LABEL2", 49, 1, Rgb(100, 50, 255)},
    {u"CH3", u"CHANAL", u"LABEL3", 97, 1, Rgb(100, 50, 255)},
    {u"CH4", u"CHANAL", u"LABEL4", 145, 1, Rgb(100, 50, 255)},
    {u"CH5", u"CHANAL", u"LABEL5", 193, 1, Rgb(100, 50, 255)},
    {u"CH6", u"CHANAL", u"LABEL6", 1, 45, Rgb(100, 50, 255)},
    {u"CH7", u"CHANAL", u"LABEL7", 49, 45, Rgb(100, 50, 255)},
    {u"CH8", u"CHANAL", u"LABEL8", 97, 45, Rgb(100, 50, 255)},
    {u"CH9", u"CHANAL", u"LABEL9", 145, 45, Rgb(100, 50, 255)},
    {u"CH0", u"CHANAL", u"LABEL0", 193, 45, Rgb(100, 50, 255)},
    {u"CH_", u"SLASH", u"LABELSLASH", 1, 89, Rgb(100, 50, 255)},
    {u"CHPLUS", u"CHANALPLUS", u"LABELCHPLUS", 68, 102, Rgb(100, 50, 255)},
    {u"F4", u"F4", u"LABELF4", 145, 89, Rgb(255, 200, 10)},
    {u"F1", u"F1", u"LABELF1", 1, 133, Rgb(255, 200, 10)},
    {u"F2", u"F2", u"LABELF2", 1, 179, Rgb(255, 200, 10)},
    {u"VOLMINUS", u"VOLUMEMINUS", u"LABELVOLMINUS", 45, 126, Rgb(0, 170, 0)},
    {u"MUTE", u"MUTE", u"LABELMUTE", 91, 149, Rgb(0, 170, 0)},
    {u"VOLPLUS", u"VOLUMEPLUS", u"LABELVOLPLUS", 149, 126, Rgb(0, 170, 0)},
    {u"F6", u"F6", u"LABELF6", 192, 179, Rgb(255, 200, 10)},
    {u"F5", u"F5", u"LABELF5", 192, 133, Rgb(255, 200, 10)},
    {u"F3", u"F3", u"LABELF3", 1, 225, Rgb(255, 200, 10)},
    {u"CHMINUS", u"CHANALMINUS", u"LABELCHMINUS", 68, 206, Rgb(100, 50, 255)},
    {u"PW", u"PW", u"LABELPW", 145, 225, Rgb(255, 0, 50)},
}};

constexpr std::array<TemplateRow, 20> kPlayerRows{{
    {u"F1", u"CHANAL", u"LABELF1", 1, 1, Rgb(255, 200, 10)},
    {u"F2", u"CHANAL", u"LABELF2", 49, 1, Rgb(255, 200, 10)},
    {u"F3", u"CHANAL", u"LABELF3", 97, 1, Rgb(255, 200, 10)},
    {u"F4", u"CHANAL", u"LABELF4", 145, 1, Rgb(255, 200, 10)},
    {u"F5", u"CHANAL", u"LABELF5", 193, 1, Rgb(255, 200, 10)},
    {u"VOLMINUS", u"SLASH", u"LABELVOLMINUS", 1, 45, Rgb(0, 170, 0)},
    {u"PAUSE", u"CHANALPLUS", u"LABELPAUSE", 68, 58, Rgb(0, 170, 0)},
    {u"VOLPLUS", u"F4", u"LABELVOLPLUS", 145, 45, Rgb(0, 170, 0)},
    {u"BEGIN", u"LEFT", u"LABELBEGIN", 1, 89, Rgb(150, 150, 150)},
    {u"LEFT", u"VOLUMEMINUS", u"LABELLEFT", 45, 82, Rgb(150, 150, 150)},
    {u"PLAY", u"MUTE", u"LABELPLAY", 91, 105, Rgb(0, 170, 0)},
    {u"RIGHT", u"VOLUMEPLUS", u"LABELRIGHT", 149, 82, Rgb(150, 150, 150)},
    {u"END", u"RIGHT", u"LABELEND", 192, 89, Rgb(150, 150, 150)},
    {u"CHMINUS", u"F3", u"LABELCHMINUS", 1, 181, Rgb(100, 50, 255)},
    {u"STOP", u"CHANALMINUS", u"LABELSTOP", 68, 162, Rgb(0, 170, 0)},
    {u"CHPLUS", u"PW", u"LABELCHPLUS", 145, 181, Rgb(100, 50, 255)},
    {u"RECORD", u"CHANAL", u"LABELRECORD", 1, 225, Rgb(255, 0, 50)},
    {u"EJECT", u"CHANAL", u"LABELEJECT", 49, 225, Rgb(255, 0, 50)},
    {u"MUTE", u"CHANAL", u"LABELMUTE", 97, 225, Rgb(0, 170, 0)},
    {u"PW", u"RECTANGLE", u"LABELPW", 145, 225, Rgb(255, 0, 50)},
}};

constexpr std::array<TemplateRow, 12> kFunctionRows{{
    {u"FUNC1", u"F_LEFT", u"LABELF1", 1, 3, Rgb(255, 200, 10)},
    {u"FUNC2", u"F_LEFT", u"LABELF2", 1, 47, Rgb(255, 200, 10)},
    {u"FUNC3", u"F_LEFT", u"LABELF3", 1, 91, Rgb(255, 200, 10)},
    {u"FUNC4", u"F_LEFT", u"LABELF4", 1, 135, Rgb(255, 200, 10)},
    {u"FUNC5", u"F_LEFT", u"LABELF5", 1, 179, Rgb(255, 200, 10)},
    {u"FUNC6", u"F_LEFT", u"LABELF6", 1, 223, Rgb(255, 200, 10)},
    {u"FUNC7", u"F_RIGHT", u"LABELF7", 121, 3, Rgb(255, 200, 10)},
    {u"FUNC8", u"F_RIGHT", u"LABELF8", 121, 47, Rgb(255, 200, 10)},
    {u"FUNC9", u"F_RIGHT", u"LABELF9", 121, 91, Rgb(255, 200, 10)},
    {u"FUNC10", u"F_RIGHT", u"LABELF10", 121, 135, Rgb(255, 200, 10)},
    {u"FUNC11", u"F_RIGHT", u"LABELF11", 121, 179, Rgb(255, 200, 10)},
    {u"FUNC12", u"F_RIGHT", u"LABELF12", 121, 223, Rgb(255, 200, 10)},
}};

}  // namespace

const std::span<const TemplateRow> STANDARD_RECEIVER{kReceiverRows};
const std::span<const TemplateRow> STANDARD_PLAYER{kPlayerRows};
const std::span<const TemplateRow> STANDARD_FUNCTION_PANEL{kFunctionRows};
