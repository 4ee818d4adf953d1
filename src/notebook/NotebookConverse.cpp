// The conversation dispatcher: the fixed words, the example pages and the fallback
// (a member of the notebook because it reads and sets the answer prefix).
#include "notebook/Notebook.h"
#include "strings/StringTable.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

struct ExamplePage {
    const char* keyword;
    const char* text;
};

// The built-in help: one page per keyword, tested in this order.
const ExamplePage kPages[] = {
    {"例"_sj,
     "入力例を次に示します。\r\n"
     "メモの例）　バントール、ＴＥＬ、０１２３－４５－６７８９\r\n"
     "予定の例）　１／５　１／１０　福岡へ出張\r\n"
     "数式の例）　１００－（２＋３）×４\r\n"
     "時間計算の例）　１０：２０＋５：３０\r\n"
     "年齢を求める例）　年齢　昭和２０年１月１日\r\n"
     "年号を変換する例）　平成１４年\r\n"
     "メモ例、予定例、計算例、日付例、関数例、変換例\r\n"
     "と入力するとそれぞれの例が表示されます。"_sj},
    {"計算例"_sj,
     "計算例を次に示します。\r\n"
     "数式の例）１００－（２＋３）×５\r\n"
     "時間計算の例）１０：２０＋５：３０\r\n"
     "変数に代入する例）半径＝５\r\n"
     "変数に使用する例）半径×半径×３．１４\r\n"
     "メモリーに入力する例）１\r\n"
     "メモリーに演算する例）＋２\r\n"
     "使用できる演算子）たし算：＋\r\n"
     "使用できる演算子）ひき算：－\r\n"
     "使用できる演算子）かけ算：＊、×\r\n"
     "使用できる演算子）わり算：／、÷\r\n"
     "使用できる演算子）等号：＝"_sj},
    {"変換例"_sj,
     "変換例を次に示します。\r\n"
     "年号を変換する例）平成１２年\r\n"
     "西暦を変換する例）２０００年\r\n"
     "長さを変換する例）１尺、１間、１里\r\n"
     "面積を変換する例）１坪、１反、１町\r\n"
     "体積を変換する例）１合、１升\r\n"
     "重量を変換する例）１斥、１貫"_sj},
    {"日付例"_sj,
     "日付計算例を次に示します。\r\n"
     "この計算は、命令と時期を空白で区切って入力します。\r\n"
     "曜日を計算する例）曜日　２００３／１／１\r\n"
     "年齢を計算する例）年齢　昭和３０年１月１日\r\n"
     "基準日の例）日付　今日\r\n"
     "基準日からの日数を求める例）日数　２００３／１／１\r\n"
     "使用できる時期）２００３／１／１\r\n"
     "使用できる時期）２００３．１．１\r\n"
     "使用できる時期）２００３－１－１\r\n"
     "使用できる時期）２００３・１・１\r\n"
     "使用できる時期）２００３年１月１日\r\n"
     "使用できる時期）平成１５年１月１日\r\n"
     "使用できる時期）今日、本日、明日、今週、来週、月曜日など、今月、来月\r\n"
     "使用できる時期）１０：００、朝、昼、夕方、夜、正午、午前、午後\r\n"
     "使用できる時期）西暦は３／１／１にできます。"_sj},
    {"関数例"_sj,
     "関数計算例を次に示します。\r\n"
     "平方根の例）平方根（２）＋平方根（５）\r\n"
     "平方根の例）ルート（５－２）\r\n"
     "割合の例）パーセント（７．８÷９．６）\r\n"
     "割合の例） ％（３０／１９２）"_sj},
    {"予定例"_sj,
     "予定入力例を次に示します。\r\n"
     "予定は、日付と用件を空白で区切って入力します。\r\n"
     "日付は開始日（時刻）と終了日（時刻）を空白で区切って入力します。\r\n"
     "日付の終了日と時刻は省略できます。\r\n"
     "例）２／５／１　５／５　四国へ出張\r\n"
     "例）６／１　６／５　山陽へ出張\r\n"
     "例）７／１　山陰へ出張\r\n"
     "例）２．８．１　８．５　近畿へ出張\r\n"
     "例）２－９－１　９－５　北陸へ出張\r\n"
     "例）２・１０・１　１０・５　東海へ出張\r\n"
     "例）平成１４年１１月１日　１１月５日　関東へ出張\r\n"
     "例）１２月１日　１２月５日　東北へ出張\r\n"
     "例）２５日　北海道へ出張\r\n"
     "例）２６日１０時　１２時　大阪で打ち合わせ\r\n"
     "例）来月１０日　京都へ出張\r\n"
     "例）来週水曜日　東京へ出張\r\n"
     "例）８／１５の１０：００　１２：００ 講演会\r\n"
     "例）９／２５朝１０：３０　打ち合わせ\r\n"
     "例）来週土曜日午前９時３０分　午後３時　ゴルフ\r\n"_sj},
    {"メモ例"_sj,
     "メモの入力例を次に示します。\r\n"
     "メモは、オブジェクト名、属性名、属性値を「、」で区切って入力します。\r\n"
     "例）花子、ＴＥＬ、ＸＸ－ＸＸＸＸ－ＸＸＸＸ\r\n"
     "例）花子、ホームページ、www://xxxxxxx.xxx/\r\n"
     "例）花子、年齢、２０才\r\n"_sj},
};

}  // namespace

bool Notebook::IsCancelWord(const std::string& text) const {
    for (const char* w : {"だめ"_sj, "中止"_sj, "やめる"_sj, "ばか"_sj, "改行"_sj})
        if (text == w) return true;
    return false;
}

void Notebook::Converse(std::string& answer, const std::string& text) {
    if (IsCancelWord(text)) {
        if (text != "改行"_sj) m_showsNames = true;
        answer = LoadStringId(AnswerDontKnow);
        return;
    }
    if (text == "デモ開始"_sj || text == "デモ終了"_sj) {
        answer = LoadStringId(AnswerUnderstood);
        return;
    }
    if (text.find("バージョン"_sj) != std::string::npos) {
        answer = LoadStringId(AnswerVersion);
        return;
    }
    for (const ExamplePage& page : kPages)
        if (text == page.keyword) {
            answer = page.text;
            return;
        }
    if (m_showsNames) answer = LoadStringId(AnswerDontKnow);
}

}  // namespace nelo
