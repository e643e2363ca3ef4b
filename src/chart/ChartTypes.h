#pragma once
// The drawing-layer types the chart uses, under short names.

#include "platform/qt/Dc.h"

using ChartDc = platform::qt::Dc;
using ChartRect = platform::qt::Rect;
using ChartPoint = platform::qt::Point;
using ChartSize = platform::qt::Size;
using ChartColor = platform::qt::ColorRef;
using ChartPen = platform::qt::Pen;
using ChartFont = platform::qt::Font;

class CChartCtrl;
class CChartAxis;
class CChartSerie;
