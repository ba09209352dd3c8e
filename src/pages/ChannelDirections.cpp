#include "ChannelDirections.h"

TRowDirections NumberDirections(const TChannelLinks& links) {
    TRowDirections numbers{};
    int n = 1;
    numbers[0] = n;
    for (int k = 0; k < ChannelLinkCount; ++k) {
        if (links[k])
            ++n;
        numbers[k + 1] = n;
    }
    return numbers;
}

TRgb DirectionColour(int n) {
    static constexpr TRgb colours[] = {{234, 208, 166}, {170, 166, 221}, {196, 226, 177}, {242, 183, 183},
                                       {245, 192, 236}, {220, 243, 148}, {170, 172, 253}, {234, 223, 175}};
    if (n < 1 || n > int(std::size(colours)))
        return {};
    return colours[n - 1];
}

QString DirectionLabel(int n) {
    return QStringLiteral("Направление %1").arg(n);
}
