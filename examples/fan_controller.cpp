// A fan controller: fan speed from room temperature and humidity, with twelve
// rules fired through AssertRule and an exact centre-of-gravity output.
//
// Usage: fzl_fan_controller [cycles]   (with cycles, runs that many controller
// cycles over varying inputs and prints the last output: memory stays flat)

#include <cstdio>
#include <cstdlib>

#include "FanController.h"

int main(int argc, char** argv) {
    fzl::examples::TFanController Controller;
    if (argc > 1) {
        const long Cycles = std::strtol(argv[1], nullptr, 10);
        double Output = 0;
        for (long I = 0; I < Cycles; ++I)
            Output = Controller.Speed(static_cast<double>(I % 400) / 10, static_cast<double>(I % 97));
        std::printf("%ld cycles, last fan speed %.4f %%\n", Cycles, Output);
        return 0;
    }
    std::printf("temperature  humidity  fan speed\n");
    for (const double Temperature : {5.0, 15.0, 22.0, 30.0, 38.0})
        for (const double Humidity : {20.0, 50.0, 85.0})
            std::printf("%8.1f C  %6.1f %%  %8.4f %%\n", Temperature, Humidity,
                        Controller.Speed(Temperature, Humidity));
    return 0;
}
