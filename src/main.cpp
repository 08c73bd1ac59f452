// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/modmain.h"

int main(int argc, char *argv[])
{
    return modMain::Run(argc, argv);
}
