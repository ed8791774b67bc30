// The 63 instrument shapes and the wrapper window classes of their controls. Each shape class is one
// row of FOiControlShape.h's table: its type id, control name, class id, wrapper class and the
// dispatch ids of its value, text and visibility. The id-taking constructor makes a new instrument
// with its control's class id, name, creation string and wrapper; the default one (loading) gets
// them from the record.
#pragma once

#include "activex/OleControlWnd.h"
#include "instruments/FOiControlShape.h"

#define QYR_INSTRUMENT_CLASSES(X)                                                                            \
    X(CFOi7SegmentAnalogShape, CiSevenSegmentAnalogX, 633)                                                   \
    X(CFOi7SegmentBinaryShape, CiSevenSegmentBinaryX, 634)                                                   \
    X(CFOi7SegmentCharacterShape, CiSevenSegmentCharacterX, 635)                                             \
    X(CFOi7SegmentClockShape, CiSevenSegmentClockX, 636)                                                     \
    X(CFOi7SegmentClockSMPTEShape, CiSevenSegmentClockSMPTEX, 637)                                           \
    X(CFOi7SegmentHexadecimalShape, CiSevenSegmentHexadecimalX, 638)                                         \
    X(CFOi7SegmentIntegerShape, CiSevenSegmentIntegerX, 639)                                                 \
    X(CFOiAnalogDisplayShape, CiAnalogDisplayX, 640)                                                         \
    X(CFOiAnalogOutputShape, CiAnalogOutputX, 641)                                                           \
    X(CFOiAngularGaugeShape, CiAngularGaugeX, 642)                                                           \
    X(CFOiAngularLogGaugeShape, CiAngularLogGaugeX, 643)                                                     \
    X(CFOiCompassShape, CiCompassX, 644)                                                                     \
    X(CFOiDualCompassShape, CiDualCompassX, 645)                                                             \
    X(CFOiEditShape, CiEditX, 646)                                                                           \
    X(CFOiGradientShape, CiGradientX, 647)                                                                   \
    X(CFOiImageDisplayShape, CiImageDisplayX, 648)                                                           \
    X(CFOiIntegerOutputShape, CiIntegerOutputX, 649)                                                         \
    X(CFOiKeyboardShape, CiKeyBoardX, 650)                                                                   \
    X(CFOiKnobShape, CiKnobX, 651)                                                                           \
    X(CFOiLabelShape, CiLabelX, 652)                                                                         \
    X(CFOiLcdMatrixShape, CiLCDMatrixX, 653)                                                                 \
    X(CFOiLedArrowShape, CiLedArrowX, 654)                                                                   \
    X(CFOiLedBarShape, CiLedBarX, 655)                                                                       \
    X(CFOiLedDiamondShape, CiLedDiamondX, 656)                                                               \
    X(CFOiLedMatrixShape, CiLedMatrixX, 657)                                                                 \
    X(CFOiLedRectangleShape, CiLedRectangleX, 658)                                                           \
    X(CFOiLedRoundShape, CiLedRoundX, 659)                                                                   \
    X(CFOiLedSpiralShape, CiLedSpiralX, 660)                                                                 \
    X(CFOiLinearGaugeShape, CiLinearGaugeX, 661)                                                             \
    X(CFOiLogGaugeShape, CiLogGaugeX, 662)                                                                   \
    X(CFOiModeComboboxShape, CiModeComboBoxX, 663)                                                           \
    X(CFOiMotorShape, CiMotorX, 664)                                                                         \
    X(CFOiObjectCanvasShape, CiObjectCanvasX, 665)                                                           \
    X(CFOiOdometerShape, CiOdometerX, 666)                                                                   \
    X(CFOiPanelShape, CiPanelX, 667)                                                                         \
    X(CFOiPercentBarShape, CiPercentBarX, 668)                                                               \
    X(CFOiPhonePadShape, CiPhonePadX, 669)                                                                   \
    X(CFOiPieChartShape, CiPieChartX, 670)                                                                   \
    X(CFOiPipeShape, CiPipeX, 671)                                                                           \
    X(CFOiPipeJointShape, CiPipeJointX, 672)                                                                 \
    X(CFOiPlotShape, CiPlotX, 673)                                                                           \
    X(CFOiRotationDisplayShape, CiRotationDisplayX, 674)                                                     \
    X(CFOiScopeShape, CiScopeX, 675)                                                                         \
    X(CFOiSliderShape, CiSliderX, 676)                                                                       \
    X(CFOiSlidingCompassShape, CiSlidingCompassX, 677)                                                       \
    X(CFOiSlidingScaleShape, CiSlidingScaleX, 678)                                                           \
    X(CFOiSpectrumDisplayShape, CiSpectrumDisplayX, 679)                                                     \
    X(CFOiStripChartShape, CiStripChartX, 680)                                                               \
    X(CFOiSwitchLedShape, CiSwitchLedX, 681)                                                                 \
    X(CFOiSwitchLeverShape, CiSwitchLeverX, 682)                                                             \
    X(CFOiSwitchPanelShape, CiSwitchPanelX, 683)                                                             \
    X(CFOiSwitchQuadShape, CiSwitchQuadX, 684)                                                               \
    X(CFOiSwitchRockerShape, CiSwitchRockerX, 685)                                                           \
    X(CFOiSwitchRocker3wayShape, CiSwitchRocker3WayX, 686)                                                   \
    X(CFOiSwitchRotaryShape, CiSwitchRotaryX, 687)                                                           \
    X(CFOiSwitchSliderShape, CiSwitchSliderX, 688)                                                           \
    X(CFOiSwitchToggleShape, CiSwitchToggleX, 689)                                                           \
    X(CFOiTankShape, CiTankX, 690)                                                                           \
    X(CFOiThermometerShape, CiThermometerX, 691)                                                             \
    X(CFOiThreadTimerShape, CiThreadTimersX, 692)                                                            \
    X(CFOiTimerShape, CiTimersX, 693)                                                                        \
    X(CFOiValveShape, CiValveX, 694)                                                                         \
    X(CFOiXYPlotShape, CiXYPlotX, 695)

#define QYR_DECLARE_INSTRUMENT(cls, wrapper, type)                                                           \
    class wrapper : public COleControlWnd                                                                    \
    {                                                                                                        \
        DECLARE_DYNCREATE(wrapper)                                                                           \
    };                                                                                                       \
    class cls : public CFOiControlShape                                                                      \
    {                                                                                                        \
        DECLARE_SERIAL(cls)                                                                                  \
    public:                                                                                                  \
        cls();                                                                                               \
        explicit cls(UINT nID);                                                                              \
        cls(const cls& src) : CFOiControlShape(src) {}                                                       \
        cls& operator=(const cls& src)                                                                       \
        {                                                                                                    \
            CFOiControlShape::operator=(src);                                                                \
            return *this;                                                                                    \
        }                                                                                                    \
        CFODrawShape* Copy() const override;                                                                 \
        const INSTRUMENT_SHAPE_ROW* GetRow() const override;                                                 \
        /* A new instrument, with no reference taken. */                                                     \
        static CFODrawShape* CreateNew();                                                                    \
    };

QYR_INSTRUMENT_CLASSES(QYR_DECLARE_INSTRUMENT)

// Type ids of the instrument shapes.
#define QYR_INSTRUMENT_FIRST_TYPE 633
#define QYR_INSTRUMENT_LAST_TYPE 695

// A new instrument of the type (made the id-taking way), AddRef'ed once; null for another type.
CFOiControlShape* CreateInstrumentShape(UINT nType);
