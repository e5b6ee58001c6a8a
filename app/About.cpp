#include "About.h"

#include <QMessageBox>

QString About::text() {
    return tr("<h3>Tovik %1</h3>"
              "<p>A teaching tool for the EXAFS signal of one scattering shell: chi(k) and its "
              "Fourier transform chi(R), redrawn as you change them.</p>"
              "<p>Released under the MIT licence.</p>")
        .arg(QStringLiteral(TOVIK_VERSION));
}

void About::show(QWidget* parent) {
    QMessageBox::about(parent, tr("About Tovik"), text());
}
