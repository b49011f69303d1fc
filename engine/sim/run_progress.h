#pragma once
// Progress of a Simulate command. The desktop window and the command line each implement it; the
// engine only reports. A run cannot be interrupted, so there is no way back from here.

class CRunProgress {
public:
    virtual ~CRunProgress() = default;
    // A run of `walls` walls begins (total hours walls x 8760).
    virtual void Start(int walls) = 0;
    // Start of `day` (1..365) of `wall` (1..4); `hoursPerDay` is 24. The percentage to show is
    // RunProgressPercent(walls of Start, wall, day, hoursPerDay).
    virtual void Update(int wall, int day, int hoursPerDay) = 0;
    virtual void Close() = 0;
};

// The percentage shown at the start of `day` of `wall` in a run of `walls` walls:
// done = wall x 8760 + day x 24 - 8760 hours of walls x 8760.
inline int RunProgressPercent(int walls, int wall, int day, int hoursPerDay = 24) {
    if (walls <= 0) return 0;
    const double total = walls * 8760.0;
    const double done = wall * 8760.0 + day * static_cast<double>(hoursPerDay) - 8760.0;
    return static_cast<int>(done / total * 100.0);
}
