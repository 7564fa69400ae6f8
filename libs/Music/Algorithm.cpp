#include "Algorithm.h"

#include <iostream>

namespace Music {

void Algorithm::samplingRateChanged()
{
    std::cout << "libs/Music/Algorithm.h:40 Algorithm::samplingRateChanged Not Yet Implemented" << std::endl;
}

void Algorithm::AFreqChanged()
{
    std::cout << "libs/Music/Algorithm.h:41 Algorithm::AFreqChanged Not Yet Implemented" << std::endl;
}

void Algorithm::semitoneBoundsChanged()
{
    std::cout << "libs/Music/Algorithm.h:42 Algorithm::semitoneBoundsChanged Not Yet Implemented"
              << std::endl;
}

Algorithm::~Algorithm() {}

} // namespace Music
