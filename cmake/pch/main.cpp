// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled only so that its target precompiles a header set for others to reuse.
int main() {
    return 0;
}
