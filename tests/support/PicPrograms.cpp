#include "support/PicPrograms.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace picprograms {

namespace {

const char* const usartText = R"(	list p=16f877a, r=dec
	include <p16f877a.inc>
	__config _XT_OSC & _WDT_OFF & _LVP_OFF & _PWRTE_OFF
cnt	equ 0x20
d1	equ 0x21
d2	equ 0x22
	org 0
	bsf STATUS,RP0
	movlw 25		; 9615 baud at 4 MHz with BRGH
	movwf SPBRG
	movlw 0x24		; TXEN, BRGH
	movwf TXSTA
	TXTRIS TRISC,6
	bsf TRISC,7
	bcf STATUS,RP0
	movlw 0x90		; SPEN, CREN
	movwf RCSTA
	movlw '1'
	movwf cnt
main	movlw 'H'
	call tx
	movlw 'E'
	call tx
	movlw 'L'
	call tx
	movlw 'L'
	call tx
	movlw 'O'
	call tx
	movlw ' '
	call tx
	movf cnt,w
	call tx
	movlw 13
	call tx
	movlw 10
	call tx
	incf cnt,f
	movlw '9'+1
	xorwf cnt,w
	btfss STATUS,Z
	goto pause
	movlw '1'
	movwf cnt
pause	movlw 200		; about 0.25 s, echoing what comes in
	movwf d2
wait	clrf d1
inner	btfss PIR1,RCIF
	goto skip
	movf RCREG,w
	call tx
skip	decfsz d1,f
	goto inner
	decfsz d2,f
	goto wait
	goto main
tx	btfss PIR1,TXIF
	goto tx
	movwf TXREG
	return
	end
)";

const char* const bangText = R"(	list p=16f877a, r=dec
	include <p16f877a.inc>
	__config _XT_OSC & _WDT_OFF & _LVP_OFF & _PWRTE_OFF
ch	equ 0x20
bits	equ 0x21
d	equ 0x22
	ifdef INV
smark	macro
	bcf PORTB,0
	endm
sspace	macro
	bsf PORTB,0
	endm
	else
smark	macro
	bsf PORTB,0
	endm
sspace	macro
	bcf PORTB,0
	endm
	endif
	org 0
	smark
	bsf STATUS,RP0
	bcf TRISB,0
	bcf STATUS,RP0
	call bitdelay
main	movlw 'B'
	call sendb
	movlw 'I'
	call sendb
	movlw 'T'
	call sendb
	movlw 13
	call sendb
	movlw 10
	call sendb
	goto main
sendb	movwf ch		; 8N1, about 104 cycles a bit
	movlw 8
	movwf bits
	sspace
	call bitdelay
bloop	rrf ch,f
	btfsc STATUS,C
	goto one
	sspace
	goto next
one	smark
	nop
next	call bitdelay
	decfsz bits,f
	goto bloop
	nop
	nop
	smark
	call bitdelay
	call bitdelay
	return
bitdelay	movlw 30
	movwf d
dl	decfsz d,f
	goto dl
	return
	end
)";

} // namespace

QByteArray usartHello() {
    return QByteArray(usartText).replace("TXTRIS", "bcf");
}

QByteArray usartSilent() {
    return QByteArray(usartText).replace("TXTRIS", "bsf");
}

QByteArray bitBang() {
    return bangText;
}

QString assemble(const QByteArray& source, const QString& hex, const QStringList& defines) {
    const QFileInfo out(hex);
    const QString asmPath = out.absolutePath() + QStringLiteral("/") + out.completeBaseName() + QStringLiteral(".asm");
    QFile f(asmPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(source) != source.size())
        return QStringLiteral("cannot write ") + asmPath;
    f.close();
    QStringList args{QStringLiteral("-q"), QStringLiteral("-o"), hex};
    for (const QString& d : defines)
        args << QStringLiteral("-D") << d;
    args << asmPath;
    QProcess gpasm;
    gpasm.setProcessChannelMode(QProcess::MergedChannels);
    gpasm.start(QStringLiteral("gpasm"), args);
    if (!gpasm.waitForFinished(30000))
        return QStringLiteral("gpasm did not run: ") + gpasm.errorString();
    if (gpasm.exitStatus() != QProcess::NormalExit || gpasm.exitCode() != 0 || !QFileInfo::exists(hex))
        return QStringLiteral("gpasm failed: ") + QString::fromLocal8Bit(gpasm.readAll());
    return {};
}

} // namespace picprograms
