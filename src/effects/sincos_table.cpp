#include "effects/sincos_table.h"

#include <cmath>

const cSinCosTable& cSinCosTable::instance() {
    static const cSinCosTable tables;
    return tables;
}

cSinCosTable::cSinCosTable() {
    const double two_pi = 2.0 * M_PI;
    for (int k = 0; k <= TABLE_SIZE; ++k) {
        double coarse = k * two_pi / 1024.0;
        double fine = k * two_pi / 1048576.0;
        m_coarse[k][0] = float(std::sin(coarse));
        m_coarse[k][1] = float(std::cos(coarse));
        m_fine[k][0] = float(std::sin(fine));
        m_fine[k][1] = float(std::cos(fine));
    }
}
