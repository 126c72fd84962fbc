// CPU time the calling thread has used, the platform's way (the build picks
// the file). A benchmark on a shared machine measures this rather than wall
// time, so that a render preempted by other work does not count.
#pragma once

// Seconds of CPU time, user and kernel, since the thread started.
double ThreadCpuSeconds();
