// The helpers of text geometry. The tables are data a test checks against the formulas.
#include "gr2k/text_geometry.h"

const LONG kFontTangents[450] = {
    0, 57, 114, 172, 229, 286, 343, 400, 458, 515, 572, 629,
    686, 744, 801, 858, 915, 973, 1030, 1087, 1144, 1202, 1259, 1316,
    1373, 1431, 1488, 1545, 1603, 1660, 1717, 1775, 1832, 1889, 1947, 2004,
    2062, 2119, 2176, 2234, 2291, 2349, 2406, 2464, 2521, 2579, 2636, 2694,
    2752, 2809, 2867, 2924, 2982, 3040, 3097, 3155, 3213, 3271, 3328, 3386,
    3444, 3502, 3560, 3618, 3675, 3733, 3791, 3849, 3907, 3965, 4023, 4081,
    4139, 4198, 4256, 4314, 4372, 4430, 4489, 4547, 4605, 4663, 4722, 4780,
    4839, 4897, 4956, 5014, 5073, 5131, 5190, 5248, 5307, 5366, 5425, 5483,
    5542, 5601, 5660, 5719, 5778, 5837, 5896, 5955, 6014, 6073, 6132, 6191,
    6251, 6310, 6369, 6429, 6488, 6547, 6607, 6667, 6726, 6786, 6845, 6905,
    6965, 7025, 7084, 7144, 7204, 7264, 7324, 7384, 7444, 7505, 7565, 7625,
    7685, 7746, 7806, 7867, 7927, 7988, 8048, 8109, 8170, 8231, 8291, 8352,
    8413, 8474, 8535, 8596, 8657, 8719, 8780, 8841, 8903, 8964, 9026, 9087,
    9149, 9210, 9272, 9334, 9396, 9458, 9520, 9582, 9644, 9706, 9768, 9831,
    9893, 9955, 10018, 10080, 10143, 10206, 10269, 10331, 10394, 10457, 10520, 10583,
    10647, 10710, 10773, 10837, 10900, 10964, 11027, 11091, 11155, 11219, 11283, 11347,
    11411, 11475, 11539, 11603, 11668, 11732, 11797, 11861, 11926, 11991, 12056, 12121,
    12186, 12251, 12316, 12382, 12447, 12513, 12578, 12644, 12709, 12775, 12841, 12907,
    12973, 13040, 13106, 13172, 13239, 13305, 13372, 13439, 13506, 13573, 13640, 13707,
    13774, 13841, 13909, 13976, 14044, 14112, 14180, 14247, 14316, 14384, 14452, 14520,
    14589, 14657, 14726, 14795, 14864, 14933, 15002, 15071, 15140, 15210, 15280, 15349,
    15419, 15489, 15559, 15629, 15699, 15770, 15840, 15911, 15982, 16052, 16123, 16194,
    16266, 16337, 16408, 16480, 16552, 16624, 16696, 16768, 16840, 16912, 16985, 17057,
    17130, 17203, 17276, 17349, 17423, 17496, 17570, 17643, 17717, 17791, 17865, 17939,
    18014, 18088, 18163, 18238, 18313, 18388, 18463, 18539, 18614, 18690, 18766, 18842,
    18918, 18994, 19071, 19147, 19224, 19301, 19378, 19456, 19533, 19611, 19688, 19766,
    19844, 19923, 20001, 20080, 20158, 20237, 20316, 20396, 20475, 20555, 20634, 20714,
    20795, 20875, 20955, 21036, 21117, 21198, 21279, 21361, 21442, 21524, 21606, 21688,
    21770, 21853, 21936, 22019, 22102, 22185, 22268, 22352, 22436, 22520, 22604, 22689,
    22774, 22859, 22944, 23029, 23115, 23200, 23286, 23372, 23459, 23545, 23632, 23719,
    23807, 23894, 23982, 24070, 24158, 24246, 24335, 24424, 24513, 24602, 24692, 24781,
    24872, 24962, 25052, 25143, 25234, 25325, 25417, 25508, 25600, 25693, 25785, 25878,
    25971, 26064, 26158, 26251, 26345, 26440, 26534, 26629, 26724, 26819, 26915, 27011,
    27107, 27204, 27300, 27397, 27495, 27592, 27690, 27788, 27887, 27986, 28085, 28184,
    28284, 28384, 28484, 28584, 28685, 28787, 28888, 28990, 29092, 29194, 29297, 29400,
    29504, 29607, 29711, 29816, 29920, 30025, 30131, 30237, 30343, 30449, 30556, 30663,
    30770, 30878, 30986, 31095, 31204, 31313, 31422, 31532, 31643, 31753, 31865, 31976,
    32088, 32200, 32313, 32426, 32539, 32653,
};

const LONG kFontQuarterSines[91] = {
    0, 286, 572, 857, 1143, 1428, 1713, 1997, 2280, 2563, 2845, 3126, 3406,
    3686, 3964, 4240, 4516, 4790, 5063, 5334, 5604, 5872, 6138, 6402, 6664, 6924,
    7182, 7438, 7692, 7943, 8192, 8438, 8682, 8923, 9162, 9397, 9630, 9860, 10087,
    10311, 10531, 10749, 10963, 11174, 11381, 11585, 11786, 11982, 12176, 12365, 12551, 12733,
    12911, 13085, 13255, 13421, 13583, 13741, 13894, 14044, 14189, 14330, 14466, 14598, 14726,
    14849, 14968, 15082, 15191, 15296, 15396, 15491, 15582, 15668, 15749, 15826, 15897, 15964,
    16026, 16083, 16135, 16182, 16225, 16262, 16294, 16322, 16344, 16362, 16374, 16382, 16384,
};

namespace {

long long Abs64(long long v) { return v < 0 ? -v : v; }

}  // namespace

LONG FontClamp32(long long v) {
  if (v > 0x7FFFFFFFLL) return 0x7FFFFFFF;
  if (v < -0x7FFFFFFFLL - 1) return LONG(-0x7FFFFFFFLL - 1);
  return LONG(v);
}

LONG FontScale(FLOAT m, LONG v) {
  float p = m * float(v);
  if (p != p) return 0;
  if (p >= 2147483647.0f) return 0x7FFFFFFF;
  if (p <= -2147483648.0f) return LONG(-0x7FFFFFFFLL - 1);
  return LONG(p);
}

LONG FontHypot(LONG a, LONG b) {
  unsigned long long x = (unsigned long long)Abs64(a), y = (unsigned long long)Abs64(b);
  if (!x) return FontClamp32((long long)y);
  if (!y) return FontClamp32((long long)x);
  unsigned long long sum = x * x + y * y;  // below 2^63: both are at most 2^31
  // The smallest m with m * m >= sum, by bisection (no C runtime mathematics: its error hook
  // would be one more import of the Windows build).
  unsigned long long lo = 0, hi = 0xC0000000ull;  // hi * hi exceeds any sum of two squares here
  while (lo < hi) {
    unsigned long long mid = lo + (hi - lo) / 2;
    if (mid * mid >= sum) hi = mid;
    else lo = mid + 1;
  }
  unsigned long long m = lo;
  if (m < x) m = x;
  if (m < y) m = y;
  return FontClamp32((long long)m);
}

LONG FontLength(FLOAT a, FLOAT b, LONG v) {
  long long tenV = 10LL * v;
  LONG tv = FontClamp32(tenV);
  long long x = ((long long)FontScale(a, tv) + 5) / 10;
  long long y = ((long long)FontScale(b, tv) + 5) / 10;
  return FontHypot(LONG(x), LONG(y));
}

LONG FontTangentSearch(LONG value) {
  LONG lo = 0, hi = 450;
  while (hi - lo >= 2) {
    LONG span = hi - lo;
    LONG q3 = lo + 3 * span / 4, mid = lo + span / 2, q1 = lo + span / 4;
    if (kFontTangents[q3] < value) {
      lo = q3;
    } else if (kFontTangents[mid] < value) {
      lo = mid;
      hi = q3;
    } else if (kFontTangents[q1] < value) {
      lo = q1;
      hi = mid;
    } else {
      hi = q1;
    }
  }
  return lo;
}

LONG FontAngle(SHORT x, SHORT y) {
  if (y == 0) return x < 0 ? 180 : 0;
  if (x == 0) return y > 0 ? 90 : -90;
  LONG base, g, h;
  if (x > 0 && y > 0) base = 0, g = x, h = y;
  else if (x <= 0 && y > 0) base = 90, g = y, h = -x;
  else if (x > 0) base = -90, g = -y, h = x;
  else base = -180, g = -x, h = -y;
  if (g == h) return base + 45;
  LONG smaller = g < h ? g : h, larger = g < h ? h : g;
  // MulDiv: rounded to nearest; both values are positive here.
  LONG ratio = LONG((smaller * 32767LL + larger / 2) / larger);
  LONG r = FontTangentSearch(ratio);
  LONG t = g >= h ? r : 900 - r;
  return base + (t + 5) / 10;
}

LONG FontSin16(LONG n) {
  if (n < 0) n = 0;
  LONG q = (n / 90) % 4, m = n % 90;
  LONG v = kFontQuarterSines[(q & 1) ? 90 - m : m];
  return q >= 2 ? -v : v;
}

LONG FontCos16(LONG n) { return FontSin16(n < 0x7FFFFFFF - 90 ? n + 90 : n % 360 + 90); }

LONG FontRotation(const XFORML& xform) {
  // Components beyond 16 bits are halved together until both fit, so the direction is kept
  // (cutting each to 16 bits would turn a large upright font by an arbitrary angle).
  long long x = FontScale(xform.eM11, 5000), y = FontScale(xform.eM12, 5000);
  while (x > 32767 || x < -32767 || y > 32767 || y < -32767) x /= 2, y /= 2;
  LONG a = FontAngle(SHORT(x), SHORT(y));
  return a == 0 ? 0 : (360 - a) % 360;
}

BOOL FontMirrored(const XFORML& xform) {
  LONG x = FontScale(xform.eM11, 5000), y = FontScale(xform.eM22, 5000);
  return x && y && (x < 0) != (y < 0);
}

void FontCallGeometry(const XFORML& xform, const IFIMETRICS& ifi, FontCallSizes* sizes) {
  sizes->width = FontLength(xform.eM11, xform.eM12, ifi.fwdUnitsPerEm);
  sizes->height = FontLength(xform.eM21, xform.eM22, ifi.fwdUnitsPerEm);
  sizes->ascent = FontLength(xform.eM21, xform.eM22, ifi.fwdWinAscender);
  sizes->descent = FontLength(xform.eM21, xform.eM22, ifi.fwdWinDescender);
  sizes->averageWidth = FontLength(xform.eM11, xform.eM12, ifi.fwdAveCharWidth);
  long long leading = (long long)sizes->ascent + sizes->descent - sizes->height;
  sizes->leading = leading < 0 ? 0 : leading > 0x7FFF ? 0x7FFF : LONG(leading);
  sizes->rotation = FontRotation(xform);
}
