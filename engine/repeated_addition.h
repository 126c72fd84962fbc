// x + step + step + ... (n additions, each rounded to double as it happens),
// computed with a few integer operations instead of n dependent additions.
//
// While every sum stays inside the binade [2^e, 2^(e+1)) of x, each addition
// rounds step to the same multiple w of that binade's spacing (x sits on the
// spacing grid, so only step's offset from it decides the rounding), and n
// additions add exactly n * w spacings to x's mantissa. Where that cannot be
// shown cheaply (x not a positive normal number, a sum that may leave the
// binade, step exactly half-way between two multiples, where ties-to-even
// would depend on the parity of each sum), the additions are made one by one.
// The result is the same double either way, under any flush-to-zero setting.
#pragma once

double AddRepeatedly(double x, double step, int n);
