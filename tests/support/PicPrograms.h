#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small PIC16F877A programs (4 MHz, 9600 baud) for the simulator tests, assembled with gpasm.
namespace picprograms {

// Sends "HELLO n" (n counting from 1) on the hardware USART (RC6) about four times a second and
// echoes every byte it receives on RC7.
QByteArray usartHello();
// The USART program with its TX pin left an input (its TRIS bit set): the pin never shows a byte.
QByteArray usartSilent();
// Sends "BIT" lines bit-banged on RB0, idle high; assembled with the symbol INV, idle low.
QByteArray bitBang();

// Assembles `source` into the HEX file `hex` with gpasm (each of `defines` as -D); "" on success,
// otherwise what went wrong.
QString assemble(const QByteArray& source, const QString& hex, const QStringList& defines = {});

} // namespace picprograms
