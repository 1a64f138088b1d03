// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of trx-sheet's start-up: a Qt Core program that prints one
// line, built the same way.

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fputs("one line\n", stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
