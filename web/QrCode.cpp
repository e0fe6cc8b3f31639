#include "QrCode.h"
#include <stdlib.h>

namespace
{
// Error correction level M of each version: codewords per block and the two groups of
// blocks, then the centres of its alignment patterns (ISO/IEC 18004 tables 9 and E.1).
struct QrVersion
{
    int nEcPerBlock;
    int nBlocks1;
    int nData1;
    int nBlocks2;
    int nData2;
    int alignment[3];
};

const QrVersion s_versions[10] = {
    {10, 1, 16, 0, 0, {0, 0, 0}},    {16, 1, 28, 0, 0, {6, 18, 0}},
    {26, 1, 44, 0, 0, {6, 22, 0}},   {18, 2, 32, 0, 0, {6, 26, 0}},
    {24, 2, 43, 0, 0, {6, 30, 0}},   {16, 4, 27, 0, 0, {6, 34, 0}},
    {18, 4, 31, 0, 0, {6, 22, 38}},  {22, 2, 38, 2, 39, {6, 24, 42}},
    {22, 3, 36, 2, 37, {6, 26, 46}}, {26, 4, 43, 1, 44, {6, 28, 50}},
};

const int FORMAT_LEVEL_M = 0; // the two level bits of the format information

int DataCodewords(const QrVersion& version)
{
    return version.nBlocks1 * version.nData1 + version.nBlocks2 * version.nData2;
}

void AppendBits(unsigned nValue, int nCount, std::vector<bool>* pBits)
{
    for (int i = nCount - 1; i >= 0; i--)
        pBits->push_back(((nValue >> i) & 1) != 0);
}

// Multiplication in GF(256) with the QR code's polynomial x^8 + x^4 + x^3 + x^2 + 1.
unsigned char GfMultiply(unsigned char a, unsigned char b)
{
    unsigned nProduct = 0;
    for (int i = 7; i >= 0; i--)
    {
        nProduct = (nProduct << 1) ^ ((nProduct >> 7) * 0x11D);
        nProduct ^= ((b >> i) & 1) * a;
    }
    return static_cast<unsigned char>(nProduct);
}

// The Reed-Solomon error correction codewords of one block.
std::vector<unsigned char> ErrorCorrection(const std::vector<unsigned char>& data, int nDegree)
{
    // The generator polynomial (x - 2^0)(x - 2^1)...(x - 2^(n-1)), leading 1 left out.
    std::vector<unsigned char> generator(nDegree, 0);
    generator[nDegree - 1] = 1;
    unsigned char nRoot = 1;
    for (int i = 0; i < nDegree; i++)
    {
        for (int j = 0; j < nDegree; j++)
        {
            generator[j] = GfMultiply(generator[j], nRoot);
            if (j + 1 < nDegree)
                generator[j] ^= generator[j + 1];
        }
        nRoot = GfMultiply(nRoot, 2);
    }
    std::vector<unsigned char> remainder(nDegree, 0);
    for (size_t i = 0; i < data.size(); i++)
    {
        unsigned char nFactor = data[i] ^ remainder[0];
        remainder.erase(remainder.begin());
        remainder.push_back(0);
        for (int j = 0; j < nDegree; j++)
            remainder[j] ^= GfMultiply(generator[j], nFactor);
    }
    return remainder;
}

// The codewords in the order they are placed: data and then error correction, each
// interleaved across the blocks.
std::vector<unsigned char> Codewords(const std::string& text, const QrVersion& version,
                                     int nVersion)
{
    std::vector<bool> bits;
    AppendBits(4, 4, &bits); // byte mode
    AppendBits(static_cast<unsigned>(text.size()), nVersion < 10 ? 8 : 16, &bits);
    for (size_t i = 0; i < text.size(); i++)
        AppendBits(static_cast<unsigned char>(text[i]), 8, &bits);
    size_t nCapacityBits = static_cast<size_t>(DataCodewords(version)) * 8;
    for (int i = 0; i < 4 && bits.size() < nCapacityBits; i++)
        bits.push_back(false); // terminator
    while (bits.size() % 8 != 0)
        bits.push_back(false);
    for (unsigned nPad = 0xEC; bits.size() < nCapacityBits; nPad ^= 0xEC ^ 0x11)
        AppendBits(nPad, 8, &bits);

    std::vector<std::vector<unsigned char>> blocks;
    std::vector<std::vector<unsigned char>> corrections;
    size_t nBit = 0;
    for (int b = 0; b < version.nBlocks1 + version.nBlocks2; b++)
    {
        int nData = b < version.nBlocks1 ? version.nData1 : version.nData2;
        std::vector<unsigned char> block(nData, 0);
        for (int i = 0; i < nData; i++)
        {
            for (int j = 0; j < 8; j++)
                block[i] = static_cast<unsigned char>(block[i] << 1 | (bits[nBit++] ? 1 : 0));
        }
        blocks.push_back(block);
        corrections.push_back(ErrorCorrection(block, version.nEcPerBlock));
    }
    std::vector<unsigned char> codewords;
    int nLongest = version.nBlocks2 ? version.nData2 : version.nData1;
    for (int i = 0; i < nLongest; i++)
    {
        for (size_t b = 0; b < blocks.size(); b++)
        {
            if (i < static_cast<int>(blocks[b].size()))
                codewords.push_back(blocks[b][i]);
        }
    }
    for (int i = 0; i < version.nEcPerBlock; i++)
    {
        for (size_t b = 0; b < corrections.size(); b++)
            codewords.push_back(corrections[b][i]);
    }
    return codewords;
}

// The modules of a symbol, and which of them belong to the fixed patterns.
class CQrGrid
{
public:
    explicit CQrGrid(int nSize)
        : m_nSize(nSize), m_dark(nSize * nSize, false), m_function(nSize * nSize, false)
    {
    }
    int Size() const { return m_nSize; }
    bool IsDark(int x, int y) const { return m_dark[y * m_nSize + x]; }
    bool IsFunction(int x, int y) const { return m_function[y * m_nSize + x]; }
    void SetFunction(int x, int y, bool bDark)
    {
        m_dark[y * m_nSize + x] = bDark;
        m_function[y * m_nSize + x] = true;
    }
    void SetData(int x, int y, bool bDark) { m_dark[y * m_nSize + x] = bDark; }
    void Flip(int x, int y) { m_dark[y * m_nSize + x] = !m_dark[y * m_nSize + x]; }

private:
    int m_nSize;
    std::vector<bool> m_dark;
    std::vector<bool> m_function;
};

void DrawFinder(CQrGrid* pGrid, int nCentreX, int nCentreY)
{
    for (int dy = -4; dy <= 4; dy++)
    {
        for (int dx = -4; dx <= 4; dx++)
        {
            int x = nCentreX + dx;
            int y = nCentreY + dy;
            int nRing = abs(dx) > abs(dy) ? abs(dx) : abs(dy);
            if (x >= 0 && x < pGrid->Size() && y >= 0 && y < pGrid->Size())
                pGrid->SetFunction(x, y, nRing != 2 && nRing != 4); // 4 is the separator
        }
    }
}

void DrawAlignment(CQrGrid* pGrid, int nCentreX, int nCentreY)
{
    for (int dy = -2; dy <= 2; dy++)
    {
        for (int dx = -2; dx <= 2; dx++)
        {
            int nRing = abs(dx) > abs(dy) ? abs(dx) : abs(dy);
            pGrid->SetFunction(nCentreX + dx, nCentreY + dy, nRing != 1);
        }
    }
}

// The 15 format bits (level and mask, BCH-coded and masked) in their two copies; the
// dark module beside the lower copy.
void DrawFormat(CQrGrid* pGrid, int nMask)
{
    int nData = FORMAT_LEVEL_M << 3 | nMask;
    int nRemainder = nData;
    for (int i = 0; i < 10; i++)
        nRemainder = (nRemainder << 1) ^ ((nRemainder >> 9) * 0x537);
    int nBits = (nData << 10 | nRemainder) ^ 0x5412;
    int nSize = pGrid->Size();
    for (int i = 0; i < 15; i++)
    {
        bool bDark = ((nBits >> i) & 1) != 0;
        // Around the top-left finder: down column 8, then leftwards along row 8.
        if (i < 6)
            pGrid->SetFunction(8, i, bDark);
        else if (i < 8)
            pGrid->SetFunction(8, i + 1, bDark);
        else if (i == 8)
            pGrid->SetFunction(7, 8, bDark);
        else
            pGrid->SetFunction(14 - i, 8, bDark);
        // Split between the other two finders.
        if (i < 8)
            pGrid->SetFunction(nSize - 1 - i, 8, bDark);
        else
            pGrid->SetFunction(8, nSize - 15 + i, bDark);
    }
    pGrid->SetFunction(8, nSize - 8, true);
}

// Versions 7 and up carry their number, BCH-coded, beside two finders.
void DrawVersion(CQrGrid* pGrid, int nVersion)
{
    if (nVersion < 7)
        return;
    int nRemainder = nVersion;
    for (int i = 0; i < 12; i++)
        nRemainder = (nRemainder << 1) ^ ((nRemainder >> 11) * 0x1F25);
    int nBits = nVersion << 12 | nRemainder;
    for (int i = 0; i < 18; i++)
    {
        bool bDark = ((nBits >> i) & 1) != 0;
        int a = pGrid->Size() - 11 + i % 3;
        int b = i / 3;
        pGrid->SetFunction(a, b, bDark);
        pGrid->SetFunction(b, a, bDark);
    }
}

void DrawFunctionPatterns(CQrGrid* pGrid, int nVersion, const QrVersion& version)
{
    int nSize = pGrid->Size();
    for (int i = 0; i < nSize; i++)
    {
        pGrid->SetFunction(6, i, i % 2 == 0); // timing patterns
        pGrid->SetFunction(i, 6, i % 2 == 0);
    }
    DrawFinder(pGrid, 3, 3);
    DrawFinder(pGrid, nSize - 4, 3);
    DrawFinder(pGrid, 3, nSize - 4);
    int nAlignments = 0;
    while (nAlignments < 3 && version.alignment[nAlignments])
        nAlignments++;
    for (int i = 0; i < nAlignments; i++)
    {
        for (int j = 0; j < nAlignments; j++)
        {
            bool bOnFinder = (i == 0 && j == 0) || (i == 0 && j == nAlignments - 1) ||
                             (i == nAlignments - 1 && j == 0);
            if (!bOnFinder)
                DrawAlignment(pGrid, version.alignment[i], version.alignment[j]);
        }
    }
    DrawFormat(pGrid, 0); // reserves its modules; drawn again with the chosen mask
    DrawVersion(pGrid, nVersion);
}

// Two columns at a time from the right, up and down in turn, around the fixed patterns.
void DrawCodewords(CQrGrid* pGrid, const std::vector<unsigned char>& codewords)
{
    int nSize = pGrid->Size();
    size_t nBit = 0;
    for (int nRight = nSize - 1; nRight >= 1; nRight -= 2)
    {
        if (nRight == 6)
            nRight = 5; // the vertical timing pattern is skipped whole
        bool bUpward = ((nRight + 1) & 2) == 0;
        for (int nStep = 0; nStep < nSize; nStep++)
        {
            int y = bUpward ? nSize - 1 - nStep : nStep;
            for (int x = nRight; x >= nRight - 1; x--)
            {
                if (pGrid->IsFunction(x, y))
                    continue;
                bool bDark = false; // remainder bits are light
                if (nBit < codewords.size() * 8)
                    bDark = ((codewords[nBit / 8] >> (7 - nBit % 8)) & 1) != 0;
                pGrid->SetData(x, y, bDark);
                nBit++;
            }
        }
    }
}

bool MaskInverts(int nMask, int x, int y)
{
    switch (nMask)
    {
    case 0:
        return (x + y) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (x + y) % 3 == 0;
    case 4:
        return (x / 3 + y / 2) % 2 == 0;
    case 5:
        return x * y % 2 + x * y % 3 == 0;
    case 6:
        return (x * y % 2 + x * y % 3) % 2 == 0;
    default:
        return ((x + y) % 2 + x * y % 3) % 2 == 0;
    }
}

void ApplyMask(CQrGrid* pGrid, int nMask)
{
    for (int y = 0; y < pGrid->Size(); y++)
    {
        for (int x = 0; x < pGrid->Size(); x++)
        {
            if (!pGrid->IsFunction(x, y) && MaskInverts(nMask, x, y))
                pGrid->Flip(x, y);
        }
    }
}

// One module of a row (bColumns false) or column.
bool DarkAt(const CQrGrid& grid, bool bColumns, int nLine, int i)
{
    return bColumns ? grid.IsDark(nLine, i) : grid.IsDark(i, nLine);
}

// Rule 3 on the runs of one line, light first and alternating, the light border
// outside the symbol added to the first and last: dark runs of 1:1:3:1:1 with four
// times their unit of light on one side (and at least one on the other) look like a
// finder; each such side counts.
int FinderLookAlikes(const std::vector<int>& runs)
{
    int nCount = 0;
    for (size_t i = 6; i < runs.size(); i += 2)
    {
        int n = runs[i - 1];
        if (runs[i - 2] != n || runs[i - 3] != 3 * n || runs[i - 4] != n || runs[i - 5] != n)
            continue;
        if (runs[i - 6] >= 4 * n && runs[i] >= n)
            nCount++;
        if (runs[i] >= 4 * n && runs[i - 6] >= n)
            nCount++;
    }
    return nCount;
}

// Rules 1 and 3 along one line.
int LinePenalty(const CQrGrid& grid, bool bColumns, int nLine)
{
    int nSize = grid.Size();
    int nPenalty = 0;
    std::vector<int> runs(1, nSize); // the light border before the line
    bool bDark = false;
    for (int i = 0; i < nSize; i++)
    {
        bool bModule = DarkAt(grid, bColumns, nLine, i);
        if (bModule != bDark)
        {
            runs.push_back(0);
            bDark = bModule;
        }
        runs.back()++;
        int nRun = runs.size() == 1 ? runs.back() - nSize : runs.back();
        if (nRun == 5)
            nPenalty += 3; // rule 1: five in a row of one colour, and 1 for each more
        else if (nRun > 5)
            nPenalty += 1;
    }
    if (bDark)
        runs.push_back(0);
    runs.back() += nSize; // the light border after
    return nPenalty + FinderLookAlikes(runs) * 40;
}

int Penalty(const CQrGrid& grid)
{
    int nSize = grid.Size();
    int nPenalty = 0;
    for (int i = 0; i < nSize; i++)
        nPenalty += LinePenalty(grid, false, i) + LinePenalty(grid, true, i);
    int nDark = 0;
    for (int y = 0; y < nSize; y++)
    {
        for (int x = 0; x < nSize; x++)
        {
            nDark += grid.IsDark(x, y) ? 1 : 0;
            bool bColour = grid.IsDark(x, y);
            if (x + 1 < nSize && y + 1 < nSize && grid.IsDark(x + 1, y) == bColour &&
                grid.IsDark(x, y + 1) == bColour && grid.IsDark(x + 1, y + 1) == bColour)
                nPenalty += 3; // rule 2: a 2x2 block of one colour
        }
    }
    // Rule 4: 10 for every 5% step the dark share strays beyond 45% to 55%.
    int nTotal = nSize * nSize;
    nPenalty += ((abs(nDark * 20 - nTotal * 10) + nTotal - 1) / nTotal - 1) * 10;
    return nPenalty;
}
} // namespace

bool EncodeQrCode(const std::string& text, std::vector<std::string>* pRows)
{
    int nVersion = 1;
    while (nVersion <= 10)
    {
        size_t nNeeded = 4 + (nVersion < 10 ? 8 : 16) + text.size() * 8;
        if (nNeeded <= static_cast<size_t>(DataCodewords(s_versions[nVersion - 1])) * 8)
            break;
        nVersion++;
    }
    if (nVersion > 10)
        return false;
    const QrVersion& version = s_versions[nVersion - 1];
    CQrGrid grid(17 + 4 * nVersion);
    DrawFunctionPatterns(&grid, nVersion, version);
    DrawCodewords(&grid, Codewords(text, version, nVersion));

    int nBestMask = 0;
    int nBestPenalty = -1;
    for (int nMask = 0; nMask < 8; nMask++)
    {
        ApplyMask(&grid, nMask);
        DrawFormat(&grid, nMask);
        int nPenalty = Penalty(grid);
        if (nBestPenalty < 0 || nPenalty < nBestPenalty)
        {
            nBestMask = nMask;
            nBestPenalty = nPenalty;
        }
        ApplyMask(&grid, nMask); // masking twice undoes it
    }
    ApplyMask(&grid, nBestMask);
    DrawFormat(&grid, nBestMask);

    pRows->clear();
    for (int y = 0; y < grid.Size(); y++)
    {
        std::string row;
        for (int x = 0; x < grid.Size(); x++)
            row += grid.IsDark(x, y) ? '#' : ' ';
        pRows->push_back(row);
    }
    return true;
}
