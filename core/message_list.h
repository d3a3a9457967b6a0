// The program's messages, one line each: LANTERNFIN_MESSAGE(Id, "English", "中文").
// {1}, {2}, ... stand for the arguments, in either language's order. A new message is one line
// here, in any place; code names it core::MessageId::Id (see messages.h). No include guard: this
// list is included where the macro is defined.

// Put in as given: text worded elsewhere (a system's error text, a reader's refusal).
LANTERNFIN_MESSAGE(Verbatim, "{1}", "{1}")

// Refusals of the readers of amounts, dates and numerals (core/amount_number, amount_reading,
// bill_date, numerals): a place, then the reason.
LANTERNFIN_MESSAGE(RefusedAtCharacter, "character {1} “{2}”: {3}", "第{1}个字“{2}”：{3}")
LANTERNFIN_MESSAGE(RefusedAtEnd, "character {1}: {2}", "第{1}个字：{2}")
LANTERNFIN_MESSAGE(NoNumberToConvert, "no number to convert", "没有可换算的数字")
LANTERNFIN_MESSAGE(SignTwice, "the sign is written twice: the amount may be positive or negative",
                   "正负号重复，看不出金额是正是负")
LANTERNFIN_MESSAGE(CurrencyTwice, "the currency sign is written twice", "货币符号重复")
LANTERNFIN_MESSAGE(ParenthesisTwice, "the parenthesis is written twice: the amount may be positive or negative",
                   "括号重复，看不出金额是正是负")
LANTERNFIN_MESSAGE(DashNotMinus, "this may or may not be a minus sign (write “-” or “负” for a negative amount)",
                   "看不出是不是负号（负数请写“-”或“负”）")
LANTERNFIN_MESSAGE(ParenthesesAndSign, "parentheses and a sign together: the amount may be positive or negative",
                   "括号和正负号同时出现，看不出金额是正是负")
LANTERNFIN_MESSAGE(SignBeforeOtherText,
                   "a sign or parenthesis stands before other text, not before the number: the amount may be positive or negative",
                   "正负号或括号与数字之间隔着其他文字，看不出金额是正是负")
LANTERNFIN_MESSAGE(UnitInLabel,
                   "the label names the unit the number counts in ({1}): write the unit after the number (1.5万元) or the amount in yuan",
                   "标签注明了数字的单位（{1}），请把单位写在数字后面（1.5万元），或写出以元计的金额")
LANTERNFIN_MESSAGE(RedInkWithoutSign,
                   "a red-ink amount (红字) is a negative one, but no minus sign is written: write “-” or “负” before the number",
                   "红字金额是负数，但数字前没有负号：请在数字前写“-”或“负”")
LANTERNFIN_MESSAGE(UnitAfterClosingMark,
                   "a unit or share follows the bracket or quote that closes the number: write it right after the number (-1234万元) or the amount in yuan",
                   "括住数字的括号或引号后面还有单位或比例，请把单位紧跟在数字后面写（-1234万元），或写出以元计的金额")
LANTERNFIN_MESSAGE(DigitOfAnotherKind,
                   "a digit or fraction of another kind ({1}) follows the number and may write more of it: write the amount in digits 0-9",
                   "数字后面紧跟着另一种写法的数字或分数（{1}），可能是金额的一部分：请全部用 0-9 写金额")
LANTERNFIN_MESSAGE(NumeralsAfterNumber, "more numerals follow the number: it is not one clear amount",
                   "数字后面还有数字，不是一个明确的金额")
LANTERNFIN_MESSAGE(NumeralsBeforeNumber,
                   "numerals before the number write a part of the amount in words (write it all in digits: 23000 for 两万3000)",
                   "数字前面还有汉字数字，金额有一部分是用汉字写的（请全部用阿拉伯数字写：两万3000写作23000）")
LANTERNFIN_MESSAGE(WordsAfterUnit,
                   "more of the amount follows 元 in words (write it all in digits: 3.5 for 3块五毛)",
                   "“元”后面还有用汉字写的金额（请全部用阿拉伯数字写：3块五毛写作3.5）")
LANTERNFIN_MESSAGE(HyphenAfterCode,
                   "a hyphen right after letters or a code joins them to the number (SKU-100, USD-100), it is no clear minus sign (write “负” or put a space before “-”)",
                   "紧跟在字母或编号后面的连字符看不出是不是负号（SKU-100、USD-100）（负数请写“负”，或在“-”前空一格）")
LANTERNFIN_MESSAGE(MinusInWord,
                   "负 right after a word may be part of it (自负, 胜负), it is no clear minus sign (put a blank or a colon before a minus)",
                   "紧跟在词后面的“负”可能是词的一部分（自负、胜负），看不出是不是负号（负号前请空一格或加冒号）")
LANTERNFIN_MESSAGE(MinusAfterNumber,
                   "a minus sign after the number belongs to no clear amount (write it before the number)",
                   "数字后面的负号看不出属于哪个金额（负数请把负号写在数字前面）")
LANTERNFIN_MESSAGE(PercentNotAmount,
                   "a percentage or per mille is a share, not an amount (write the amount itself)",
                   "百分数或千分数是比例，不是金额（请写出金额本身）")
LANTERNFIN_MESSAGE(LetterMultiplier,
                   "a letter after the number may multiply it (15k, 1.5M, 3w): write the whole amount, or use 万 or 亿",
                   "数字后面的字母可能表示倍数（15k、1.5M、3w），请写出完整金额，或用“万”“亿”")
LANTERNFIN_MESSAGE(ParenthesesNotAround, "the parentheses do not enclose the whole amount: it may or may not be negative",
                   "括号没有括住整个金额，看不出是不是负数")
LANTERNFIN_MESSAGE(MoreThanOneNumber, "the text holds more than one number: it is not one clear amount",
                   "文中不止一个数字，不是一个明确的金额")
LANTERNFIN_MESSAGE(ParenthesesAfterWord,
                   "parentheses right after a word may hold a note or mean a minus: the amount may be positive or negative",
                   "括号紧跟在文字后面，可能是注释也可能表示负数，看不出金额是正是负")
LANTERNFIN_MESSAGE(BlankInsideNumber,
                   "a blank parts two numbers here (blanks may only part groups of three digits, as in 1 234 567)",
                   "这里的空白把两个数隔开了（空白只能用来给整数每三位分节，如 1 234 567）")
LANTERNFIN_MESSAGE(SubunitAfterNumber,
                   "角, 毛 or 分 after the number: write the amount in yuan (0.5 for 5角)",
                   "数字后面是角、毛或分，请以元为单位写金额（5角写作0.5）")
LANTERNFIN_MESSAGE(MoreThanTheNumber,
                   "多 or 余 after the number: the amount is more than the number by an unknown part (write the amount itself)",
                   "数字后面是“多”或“余”，金额比这个数多出不明的部分（请写出金额本身）")
LANTERNFIN_MESSAGE(DiscountNotAmount, "折 after the number is a discount, not an amount (write the amount itself)",
                   "数字后面是“折”，这是折扣，不是金额（请写出金额本身）")
LANTERNFIN_MESSAGE(NoAmount, "no amount", "没有金额")
LANTERNFIN_MESSAGE(NotCapitalDigit,
                   "looks like a part of the amount but is not written in capitals (the capital digits are 零壹贰叁肆伍陆柒捌玖)",
                   "像是金额的一部分，不是金额用字（大写数字是零壹贰叁肆伍陆柒捌玖）")
LANTERNFIN_MESSAGE(DashNotMinusCapitals, "this may or may not be a minus sign (write “负” for a negative amount)",
                   "看不出是不是负号（负数请写“负”）")
LANTERNFIN_MESSAGE(DigitPlaceUnclear, "a digit without a unit: its place is unclear (a “零” should come before the ones)",
                   "没有单位，说不清是哪一位（个位前应有“零”）")
LANTERNFIN_MESSAGE(DigitMissingAfterZero, "a digit is missing after “零”", "“零”后缺少数字")
LANTERNFIN_MESSAGE(NoJiaoFenAfterZheng, "no 角 or 分 may follow “整”", "“整”之后不能再有角分")
LANTERNFIN_MESSAGE(NothingAfterZheng, "nothing may follow “整”", "“整”之后不能再有字")
LANTERNFIN_MESSAGE(MinusOnlyFirst, "“负” may only come first", "“负”只能写在最前面")
LANTERNFIN_MESSAGE(NotAmountCharacter, "not a character of amounts in capitals", "不是金额用字")
LANTERNFIN_MESSAGE(TwoDigitsInARow, "two digits in a row: the first lacks its unit", "两个数字相连，前一个缺少单位")
LANTERNFIN_MESSAGE(DigitBeforeZeroLacksUnit, "the digit before “零” lacks its unit", "“零”前的数字缺少单位")
LANTERNFIN_MESSAGE(ZeroTwice, "“零” is written twice", "“零”重复")
LANTERNFIN_MESSAGE(NotAfterYuan, "cannot come after “圆”", "不能写在“圆”之后")
LANTERNFIN_MESSAGE(UnitTwice, "the unit is written twice", "单位重复")
LANTERNFIN_MESSAGE(UnitLargerThanBefore, "units out of order: larger than the unit before", "单位顺序不对，比前面的单位大")
LANTERNFIN_MESSAGE(UnitOutOfOrder, "units out of order", "单位顺序不对")
LANTERNFIN_MESSAGE(DigitMissingBeforeUnit, "a digit is missing before the unit", "单位前缺少数字")
LANTERNFIN_MESSAGE(ZeroMissing, "a “零” is missing before it", "前面缺少“零”")
LANTERNFIN_MESSAGE(ZeroSurplus, "a “零” too many", "多余的“零”")
LANTERNFIN_MESSAGE(YuanTwice, "“圆” is written twice", "“圆”重复")
LANTERNFIN_MESSAGE(DigitMissingBeforeYuan, "a digit is missing before “圆”", "“圆”前缺少数字")
LANTERNFIN_MESSAGE(JiaoBeforeFen, "units out of order: “角” comes before “分”", "单位顺序不对，“角”应在“分”之前")
LANTERNFIN_MESSAGE(YuanMissing, "a “圆” is missing before it", "前面缺少“圆”")
LANTERNFIN_MESSAGE(NoZhengAfterFen, "“整” is not written after “分”", "“分”之后不写“整”")
LANTERNFIN_MESSAGE(UnitMissing, "a unit is missing", "缺少单位")
LANTERNFIN_MESSAGE(ZhengMissing, "the amount is incomplete: “整” is missing", "金额不完整，缺少“整”")
LANTERNFIN_MESSAGE(ZeroMissingWrite, "a “零” is missing before it (write: {1})", "前面缺少“零”（应写作：{1}）")
LANTERNFIN_MESSAGE(ZeroSurplusWrite, "a “零” too many (write: {1})", "多余的“零”（应写作：{1}）")
LANTERNFIN_MESSAGE(NotStandardAmount, "not the standard writing of this amount (write: {1})",
                   "不是这个金额的规范写法（应写作：{1}）")
LANTERNFIN_MESSAGE(CapitalsSayOther, "the capitals say {1}, not {2}", "大写金额是 {1}，不是 {2}")
LANTERNFIN_MESSAGE(DateDoesNotExist, "the date {2}-{3}-{4} from character {1} does not exist: {5}",
                   "第{1}个字起的日期“{2}年{3}月{4}日”不存在：{5}")
LANTERNFIN_MESSAGE(NoYearZero, "there is no year 0", "没有公元0年")
LANTERNFIN_MESSAGE(NoSuchMonth, "there is no month {1}", "没有{1}月")
LANTERNFIN_MESSAGE(NoDayZero, "there is no day 0", "没有0日")
LANTERNFIN_MESSAGE(DaysInMonth, "{1}-{2} has only {3} days", "{1}年{2}月只有{3}天")
LANTERNFIN_MESSAGE(DateLacksDay, "“{2}” from character {1} lacks the day: no complete date found",
                   "第{1}个字起的“{2}”缺少日，没有找到完整的日期")
LANTERNFIN_MESSAGE(NoDateFound, "no date found (such as 2026-12-07 or 2026年12月7日)",
                   "没有找到日期（例如2026-12-07或2026年12月7日）")
LANTERNFIN_MESSAGE(TooManyDecimals, "too many decimal places: at most {1}", "小数位数太多，最多{1}位")
LANTERNFIN_MESSAGE(NoNumeral, "no number", "没有数字")
LANTERNFIN_MESSAGE(NotChineseNumeral, "not a Chinese numeral", "不是中文数字")
LANTERNFIN_MESSAGE(LiangMisplaced, "“两” is used only before 百, 千, 万 and 亿: write “二” or “贰” here",
                   "“两”只用在百、千、万、亿前面，这里请写作“二”或“贰”")
LANTERNFIN_MESSAGE(CapitalsMixed, "capital and ordinary numerals are mixed", "大写数字与小写数字混用")
LANTERNFIN_MESSAGE(DigitLacksUnit, "the digit lacks its unit", "数字后缺少单位")
LANTERNFIN_MESSAGE(NumberMissingAfterMinus, "a number is missing after “负”", "“负”后缺少数字")
LANTERNFIN_MESSAGE(DigitMissingBefore, "a digit is missing before it", "前面缺少数字")
LANTERNFIN_MESSAGE(DigitMissingAfterPoint, "a digit is missing after “点”", "“点”后缺少数字")
LANTERNFIN_MESSAGE(DecimalsDigitsOnly, "the decimal part holds digits only", "小数部分只能写数字")
LANTERNFIN_MESSAGE(NumeralsIncomplete, "incomplete: write “{1}”", "写法不完整，应写作“{1}”")
LANTERNFIN_MESSAGE(NotStandardNumerals, "not the standard writing: write “{1}”", "不是规范写法，应写作“{1}”")
LANTERNFIN_MESSAGE(UnknownMoneyWay, "unknown way", "未知的方式")

// Usage errors of lanternfin-cli: its own, and CLI11's worded again (cli/usage_errors.cpp). The
// English follows CLI11's own words; names of options and commands stay as they are.
LANTERNFIN_MESSAGE(UsageLine, "Usage: {1} {2}  (see {1} --help)", "用法：{1} {2}（详见 {1} --help）")
LANTERNFIN_MESSAGE(UnknownCommand, "unknown command: {1}", "没有这个命令：{1}")
LANTERNFIN_MESSAGE(NoCommandGiven, "no command given", "没有给出命令")
LANTERNFIN_MESSAGE(InPlaceNeedsFiles, "needs the files to rewrite", "需要给出要改写的文件")
LANTERNFIN_MESSAGE(InPlaceNotStandardInput, "cannot rewrite standard input", "不能改写标准输入")
LANTERNFIN_MESSAGE(VerifyNotANumber, "NUMBER is not a number: {1}", "NUMBER 不是数字：{1}")
LANTERNFIN_MESSAGE(VerifyNotANumberWhy, "NUMBER is not a number: {1} ({2})", "NUMBER 不是数字：{1}（{2}）")
LANTERNFIN_MESSAGE(ValuesFromInput, "takes its values from the input, not as arguments", "从输入读取数值，不接受数值参数")
LANTERNFIN_MESSAGE(TextsFromInput, "takes its texts from the input, not as arguments", "从输入读取文字，不接受文字参数")
LANTERNFIN_MESSAGE(NeedsThreeValues, "needs the three values A B C", "需要 A B C 三个值")
LANTERNFIN_MESSAGE(WeiValues, "WEI is 0, 1 or 2", "WEI 只能是 0、1 或 2")
LANTERNFIN_MESSAGE(RoundArguments, "takes WEI and at most one TEXT", "只接受 WEI 和至多一个 TEXT")
LANTERNFIN_MESSAGE(UnexpectedArgument, "The following argument was not expected: {1}", "多余的参数：{1}")
LANTERNFIN_MESSAGE(UnexpectedArguments, "The following arguments were not expected: {1}", "多余的参数：{1}")
LANTERNFIN_MESSAGE(ArgumentMissing, "{1}: {2} required {3} missing", "{1}：缺少 {2} 个 {3} 参数")
LANTERNFIN_MESSAGE(ArgumentsExpected, "Expected exactly {1} arguments to {2}, got {3}", "{2} 需要正好 {1} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(ArgumentsAtLeast, "{1}: At least {2} required but received {3}", "{1} 至少需要 {2} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(ArgumentsAtMost, "{1}: At Most {2} required but received {3}", "{1} 至多接受 {2} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(OptionRequired, "{1} is required", "必须给出 {1}")
LANTERNFIN_MESSAGE(OptionExcludes, "{1} excludes {2}", "{1} 不能与 {2} 同用")
LANTERNFIN_MESSAGE(OptionRequires, "{1} requires {2}", "{1} 需要同时给出 {2}")
LANTERNFIN_MESSAGE(ValueNotAllowed, "{1}: {2} not in {3}", "{1}：{2} 不是可选的值 {3} 之一")
LANTERNFIN_MESSAGE(ValueNotInRange, "{1}: Value {2} not in range {3} to {4}", "{1}：值 {2} 不在 {3} 到 {4} 的范围内")
LANTERNFIN_MESSAGE(ValueNotConverted, "Could not convert: {1} = {2}", "无法转换：{1} = {2}")
LANTERNFIN_MESSAGE(FlagTakesNoValue, "{1}: too many inputs for a flag", "{1}：开关选项不接受值")

// Why a data file (dictionary, configuration, prepared image, pinyin data) is not loaded: the WHY
// of CannotLoadWhy.
LANTERNFIN_MESSAGE(NotRegularFile, "not a regular file", "不是普通文件")
// A file of a folder being converted that is no longer the file that was listed (another file,
// or a link, took its name or its folder's): it is not read.
LANTERNFIN_MESSAGE(SourceReplaced, "it was replaced while the folder was converted (it is not the file that was listed), so it is not read",
                   "在转换文件夹期间被替换了（已不是列出时的那个文件），不予读取")
// A folder of a source that, between being found and being listed, became another (a link put in
// its place): not listed.
LANTERNFIN_MESSAGE(FolderReplacedWhileListed, "it was replaced while the folder was listed (a link or another folder took its place), so it is not read",
                   "在列出文件夹期间被替换了（链接或别的文件夹占了它的位置），不予读取")
LANTERNFIN_MESSAGE(GrewWhileCopied, "it grew while it was copied (past the size it was listed with), so it is not copied",
                   "在复制期间变大了（超过列出时的大小），不予复制")
LANTERNFIN_MESSAGE(ParagraphTooLong, "a paragraph of more than {1} MB, too long to convert as one text",
                   "有一段超过 {1} MB，太长，无法作为一段文字转换")
LANTERNFIN_MESSAGE(LargerThanBytes, "larger than {1} bytes", "大于 {1} 字节")
LANTERNFIN_MESSAGE(NotOurImage, "not an image of this program", "不是本程序生成的映像文件")
LANTERNFIN_MESSAGE(ImageOfOtherSources, "made from other sources", "由其他来源生成")
LANTERNFIN_MESSAGE(Damaged, "damaged", "文件已损坏")
LANTERNFIN_MESSAGE(NotADataFile, "not a data file", "不是数据文件")
LANTERNFIN_MESSAGE(PinyinDataBigEndian, "data files are little-endian", "数据文件是小端字节序的")
LANTERNFIN_MESSAGE(PinyinDataTooShort, "too short for a pinyin data file", "太短，不是拼音数据文件")
LANTERNFIN_MESSAGE(NotPinyinData, "not a pinyin data file", "不是拼音数据文件")
LANTERNFIN_MESSAGE(PinyinDataOtherVersion, "pinyin data of another format version", "拼音数据的格式版本不同")
LANTERNFIN_MESSAGE(PinyinDataNotAligned, "data not aligned", "数据没有对齐")
LANTERNFIN_MESSAGE(PinyinDataDamaged, "damaged pinyin data ({1})", "拼音数据已损坏（{1}）")
LANTERNFIN_MESSAGE(GroupsTooDeep, "groups nested deeper than {1}", "词典组嵌套超过 {1} 层")
LANTERNFIN_MESSAGE(DictionaryWithoutType, "a dictionary without a type", "词典没有 type")
LANTERNFIN_MESSAGE(TofuNotBoolean, "may_output_tofu is not true or false", "may_output_tofu 不是 true 或 false")
LANTERNFIN_MESSAGE(UnknownMatchPolicy, "unknown match_policy", "未知的 match_policy")
LANTERNFIN_MESSAGE(GroupWithoutDicts, "a group without dicts", "词典组没有 dicts")
LANTERNFIN_MESSAGE(InlineWithoutEntries, "inline dictionary {1} without entries", "内联词典 {1} 没有 entries")
LANTERNFIN_MESSAGE(InlineEntryNotText, "inline dictionary {1}: the entry \"{2}\" is not text", "内联词典 {1}：条目“{2}”不是文字")
LANTERNFIN_MESSAGE(UnknownDictionaryType, "unknown dictionary type {1}", "未知的词典类型 {1}")
LANTERNFIN_MESSAGE(ChainNotList, "a chain that is not a list", "转换链不是列表")
LANTERNFIN_MESSAGE(StepWithoutDict, "a step without a dict", "转换步骤没有 dict")
LANTERNFIN_MESSAGE(NotJson, "not JSON", "不是 JSON")
LANTERNFIN_MESSAGE(NoConversionChain, "no conversion_chain", "没有 conversion_chain")
LANTERNFIN_MESSAGE(SegmentationNotMmseg, "a segmentation other than mmseg", "分词方式不是 mmseg")
LANTERNFIN_MESSAGE(LineHasNoTab, "line {1} has no tab", "第 {1} 行没有制表符")
LANTERNFIN_MESSAGE(KeyTwice, "the key {1} is there twice", "键 {1} 出现了两次")
LANTERNFIN_MESSAGE(NotAnObjectOfEntries, "not an object of entries", "不是条目的对象")
LANTERNFIN_MESSAGE(NoEntries, "no entries", "没有条目")
LANTERNFIN_MESSAGE(EntryEmptyOrNotText, "the entry \"{1}\" is empty or not text", "条目“{1}”为空或不是文字")
LANTERNFIN_MESSAGE(NotOpenccDictionary, "not an OpenCC dictionary of its type", "不是所标类型的 OpenCC 词典")
LANTERNFIN_MESSAGE(DamagedDictionary, "damaged dictionary", "词典已损坏")
LANTERNFIN_MESSAGE(InDictionary, "{1}: {2}", "{1}：{2}")
LANTERNFIN_MESSAGE(NoWindows936, "ICU has no windows-936 converter: {1}", "ICU 没有 windows-936 转换器：{1}")

// The system's reasons (errno) that files meet most, worded as glibc words them; any other is
// put in as strerror gives it.
LANTERNFIN_MESSAGE(ErrorNoEntry, "No such file or directory", "没有那个文件或目录")
LANTERNFIN_MESSAGE(ErrorAccess, "Permission denied", "权限不够")
LANTERNFIN_MESSAGE(ErrorNoSpace, "No space left on device", "设备上没有空间")
LANTERNFIN_MESSAGE(ErrorIsDirectory, "Is a directory", "是一个目录")
LANTERNFIN_MESSAGE(ErrorNotDirectory, "Not a directory", "不是目录")
LANTERNFIN_MESSAGE(ErrorReadOnly, "Read-only file system", "只读文件系统")
LANTERNFIN_MESSAGE(ErrorExists, "File exists", "文件已存在")
LANTERNFIN_MESSAGE(ErrorNameTooLong, "File name too long", "文件名过长")
LANTERNFIN_MESSAGE(ErrorLoop, "Too many levels of symbolic links", "符号链接的层数过多")

// The folder runs of lanternfin-cli (-O DST): what happened to one file (the mirror's own reasons are
// with the folders below).
LANTERNFIN_MESSAGE(IsAFolderNeedsR, "is a folder (-r converts folders with all they hold)", "是文件夹（-r 会转换文件夹及其全部内容）")
LANTERNFIN_MESSAGE(CannotCreateOutputFolder, "cannot create the output folder: {1}", "无法创建输出文件夹：{1}")
LANTERNFIN_MESSAGE(NotAFolder, "is not a folder", "不是文件夹")

// Usage errors of the window's program (lanternfin), in the locale's language as lanternfin-cli's;
// the middle three are QCommandLineParser's own texts worded again.
LANTERNFIN_MESSAGE(TryHelp, "{1}\nTry '{2} --help'.", "{1}\n请用“{2} --help”查看用法。")
LANTERNFIN_MESSAGE(UnknownOption, "Unknown option '{1}'.", "没有“{1}”这个选项。")
LANTERNFIN_MESSAGE(MissingValueAfter, "Missing value after '{1}'.", "“{1}”后面缺少值。")
LANTERNFIN_MESSAGE(UnexpectedValueAfter, "Unexpected value after '{1}'.", "“{1}”后面不应有值。")
LANTERNFIN_MESSAGE(UnexpectedArgumentQuoted, "unexpected argument '{1}'", "多余的参数“{1}”")
LANTERNFIN_MESSAGE(GiveOneAction, "give one of --toggle, --show, --quit, --tray and --clipboard",
                   "--toggle、--show、--quit、--tray 和 --clipboard 只能给出其中一个")

// Lines of input, files and data.
LANTERNFIN_MESSAGE(Line, "line {1}: {2}", "第 {1} 行：{2}")
LANTERNFIN_MESSAGE(InvalidUtf8, "input is not valid UTF-8", "输入不是有效的 UTF-8")
LANTERNFIN_MESSAGE(CannotRead, "cannot read: {1}", "无法读取：{1}")
LANTERNFIN_MESSAGE(CannotOpen, "cannot open: {1}", "无法打开：{1}")
LANTERNFIN_MESSAGE(CannotWrite, "cannot write: {1}", "无法写入：{1}")
LANTERNFIN_MESSAGE(OutOfMemory, "not enough memory to convert it (a line, or an input the command reads whole, is too long to hold)",
                   "内存不足，无法转换（某一行，或命令整个读入的输入，太长，无法容纳）")
LANTERNFIN_MESSAGE(DocumentNotJoined, "is a document, which cannot be joined with other inputs into one file (convert it alone, or use -O DST)",
                   "是文档，不能与其他输入合并成一个文件（请单独转换，或用 -O DST）")
LANTERNFIN_MESSAGE(FifoInPlace, "is a FIFO, which cannot be converted in place (read it and write with -o)",
                   "是一个 FIFO，无法就地转换（请读取它并用 -o 写出）")
LANTERNFIN_MESSAGE(CannotLoad, "cannot load {1}", "无法载入 {1}")
LANTERNFIN_MESSAGE(CannotLoadWhy, "cannot load {1}: {2}", "无法载入 {1}：{2}")
LANTERNFIN_MESSAGE(NoPinyinTable, "the pinyin table is not loaded", "拼音表没有载入")
LANTERNFIN_MESSAGE(NoPinyinData, "no pinyin data", "没有拼音数据")

// The tray's 登录时启动, whose failures only the window shows.
LANTERNFIN_MESSAGE(NotAnAutostartEntry, "{1} is not an autostart entry (not a small regular file); it is left as it is",
                   "{1} 不是自动启动项（不是小的普通文件），保持原样")
LANTERNFIN_MESSAGE(CannotMakeFolder, "cannot make the folder {1}", "无法创建文件夹 {1}")

// The calculator.
LANTERNFIN_MESSAGE(NoResult, "no result", "没有结果")
LANTERNFIN_MESSAGE(NotANumber, "not a number", "不是数字")
LANTERNFIN_MESSAGE(BoxNotANumber, "{1} is not a number", "{1} 不是数字")
LANTERNFIN_MESSAGE(ZeroA, "no result: a is 0", "没有结果：a 为 0")
LANTERNFIN_MESSAGE(OutOfRange, "no result: out of range", "没有结果：超出数的范围")
LANTERNFIN_MESSAGE(RatioFieldCount, "needs the three values a b c, found {1}", "需要 a b c 三个值，这里有 {1} 个")

// The ways of the buttons and the clipboard commands.
LANTERNFIN_MESSAGE(UnknownWay, "unknown way {1}", "没有“{1}”这种方式")
LANTERNFIN_MESSAGE(NoTextOnClipboard, "no text on the clipboard", "剪贴板上没有文字")
LANTERNFIN_MESSAGE(ClipboardMoreThanText, "the clipboard holds more than plain text (rich text, a picture or files); converting its text would lose the rest, so it is left as it is (copy it as plain text first)", "剪贴板里不只有纯文本（还有格式、图片或文件）；转换文字会丢掉其余内容，所以保持原样（请先以纯文本复制）")
LANTERNFIN_MESSAGE(ClipboardUnreadable, "the clipboard could not be read", "无法读取剪贴板")
LANTERNFIN_MESSAGE(ClipboardTooLarge, "the clipboard holds more than {1} MB of text; it is left as it is",
                   "剪贴板上的文字超过 {1} MB，保持原样")
LANTERNFIN_MESSAGE(ClipboardTooSlow, "reading the clipboard took longer than {1} s; its owner does not answer",
                   "读取剪贴板超过 {1} 秒：占有剪贴板的程序没有应答")
LANTERNFIN_MESSAGE(ClipboardReaderNotStarted, "cannot start {1} to read the clipboard: {2}",
                   "无法启动 {1} 读取剪贴板：{2}")
LANTERNFIN_MESSAGE(ClipboardReaderCrashed, "the process reading the clipboard crashed", "读取剪贴板的进程崩溃了")
LANTERNFIN_MESSAGE(ClipboardOwnerSilent, "the program that owns the clipboard does not answer",
                   "占有剪贴板的程序没有应答")
LANTERNFIN_MESSAGE(ClipboardReadStatus, "the clipboard could not be read (status {1})", "无法读取剪贴板（状态 {1}）")
LANTERNFIN_MESSAGE(NothingToRestore, "no clipboard conversion to undo", "没有可以还原的剪贴板转换")
LANTERNFIN_MESSAGE(ClipboardChanged,
                   "the clipboard changed since the conversion; nothing was restored, so what it holds now is kept",
                   "剪贴板在转换之后已经改变，没有还原，保留它现在的内容")
LANTERNFIN_MESSAGE(GivenUpBeforeStart, "the command was given up before it started; the clipboard is unchanged",
                   "命令在开始之前已放弃，剪贴板没有改变")
LANTERNFIN_MESSAGE(GivenUpBeforeEnd, "the command was given up before it finished; the clipboard is unchanged",
                   "命令在完成之前已放弃，剪贴板没有改变")
LANTERNFIN_MESSAGE(AmountTooLarge, "the amount is too large: it must be below 10^16",
                   "数目太大，无法换算！请输入一亿亿以下的数字")
LANTERNFIN_MESSAGE(UnknownClipboardCommand, "unknown clipboard command '{1}' (one of {2})",
                   "没有剪贴板命令“{1}”（可用：{2}）")

// Folders mirrored, by the command line's -O and by the window.
LANTERNFIN_MESSAGE(NameNotConverted, "its name cannot be converted (the way refuses it, or it would be empty or hold a slash)",
                   "名称无法转换（这种方式不接受它，或转换后为空、含有斜杠）")
LANTERNFIN_MESSAGE(NamesCollide, "would be written as {1}, as would {2}; neither is written",
                   "会写成 {1}，{2} 也会写成它；两者都没有写")
LANTERNFIN_MESSAGE(MirrorOverItself, "would be written over itself as {1} (the output folder holds it): not converted",
                   "会以 {1} 覆盖它自己（输出文件夹里就是它）：不转换")
LANTERNFIN_MESSAGE(MirrorIsOutputFolder, "is the output folder, which is not converted into itself",
                   "就是输出文件夹，不会转换到它自己里面")
LANTERNFIN_MESSAGE(FolderNotMade, "not written: its folder in the output could not be made",
                   "未写出：输出中它所在的文件夹无法创建")
LANTERNFIN_MESSAGE(NotFileFolderOrLink, "is not a file, a folder or a link (a FIFO, socket or device): not copied",
                   "不是文件、文件夹或链接（是 FIFO、套接字或设备）：没有复制")
LANTERNFIN_MESSAGE(CannotOpenFolder, "cannot open the folder: {1}", "无法打开文件夹：{1}")
LANTERNFIN_MESSAGE(MirrorFolderReplaced, "a folder on its way in the output is no longer a folder (a link or a file was put in its place), so nothing is written through it: {1}",
                   "输出中通往它的文件夹已不是文件夹（被换成了链接或文件），所以不经由它写入：{1}")
LANTERNFIN_MESSAGE(CannotCreateFolder, "cannot create the folder: {1}", "无法创建文件夹：{1}")
LANTERNFIN_MESSAGE(CannotReadLink, "cannot read the link: {1}", "无法读取链接：{1}")
LANTERNFIN_MESSAGE(CannotCreateLink, "cannot create the link {1}: {2}", "无法创建链接 {1}：{2}")
LANTERNFIN_MESSAGE(FolderWritten, "{1} (a folder: {2} converted, {3} copied, {4} links)",
                   "{1}（文件夹：转换 {2} 个文件，复制 {3} 个，链接 {4} 个）")
LANTERNFIN_MESSAGE(FolderCancelled, "{1} (a folder, cancelled: it holds only the files finished, each whole)",
                   "{1}（文件夹，已取消：只有已完成的文件，每个都完整）")
LANTERNFIN_MESSAGE(TooManyFoldersBeside, "too many folders of that name beside it", "旁边已有太多同名文件夹")
LANTERNFIN_MESSAGE(SummaryMore, "... and {1} more", "……另有 {1} 个")
// Documents and text files in other encodings, on the command line and in the window.
LANTERNFIN_MESSAGE(EncodingUntold, "cannot tell the encoding of {1}: use --from-encoding GB18030, BIG5 or UTF-8",
                   "无法判断 {1} 的编码：请用 --from-encoding GB18030、BIG5 或 UTF-8 指定")
LANTERNFIN_MESSAGE(JoinedInAnotherEncoding,
                   "its text would be written in {1} after output in {2}: joined, they make a file that no encoding reads (name one with --to-encoding)",
                   "它的文字要写成 {1}，而前面的输出是 {2}，合在一起的文件任何编码都读不通（请用 --to-encoding 指定一种）")
LANTERNFIN_MESSAGE(EncodingUntoldHere, "cannot tell its encoding (UTF-8, GB18030 or Big5): the text is too short, or reads as more than one",
                   "无法判断它的编码（UTF-8、GB18030 还是 Big5）：文字太短，或几种读法都通")
LANTERNFIN_MESSAGE(NotChineseText, "is neither UTF-8 text nor Chinese text in GB18030 or Big5",
                   "既不是 UTF-8 文本，也不是 GB18030 或 Big5 编码的中文")
LANTERNFIN_MESSAGE(InvalidInEncoding, "is not valid {1} (byte {2})", "不是有效的 {1}（第 {2} 字节）")
LANTERNFIN_MESSAGE(EuroBothWays, "writes € both as 80 (byte {1}) and as A2 E3 (byte {2}), and cannot be written back with both; nothing written",
                   "€ 既写作 80（第 {1} 字节）又写作 A2 E3（第 {2} 字节），无法照原样写回两种写法，什么也没有写入")
LANTERNFIN_MESSAGE(EuroBothWaysHint, " (--to-encoding GBK writes each € as 80, GB18030 as A2 E3)",
                   "（--to-encoding GBK 把每个 € 写成 80，GB18030 写成 A2 E3）")
LANTERNFIN_MESSAGE(NoCodeInEncoding, "line {1}: {2} has no code in {3}; nothing written",
                   "第 {1} 行：{2} 在 {3} 中没有编码，什么也没有写入")
LANTERNFIN_MESSAGE(PageDeclaresOther, "the page declares its encoding as {1}, which is not read here: save it as UTF-8, GBK or Big5",
                   "网页声明的编码是 {1}，这里不读这种编码：请另存为 UTF-8、GBK 或 Big5")
LANTERNFIN_MESSAGE(PageEncodingUntold, "the page declares no encoding, and its text is too short to tell GB18030 from Big5, or reads as both: add <meta charset=\"gbk\"> or <meta charset=\"big5\"> to its head",
                   "网页没有声明编码，它的文字又太短，分不出是 GB18030 还是 Big5，或两种读法都通：请在 head 里加上 <meta charset=\"gbk\"> 或 <meta charset=\"big5\">")
LANTERNFIN_MESSAGE(PageContradictsDeclaration, "the page declares {1}, but byte {2} is not valid {3}; nothing written",
                   "网页声明的编码是 {1}，但第 {2} 字节不是有效的 {3}，什么也没有写入")
LANTERNFIN_MESSAGE(PageIsUtf8, "the page declares {1}, but its Chinese is in UTF-8: correct its <meta charset> to utf-8; nothing written",
                   "网页声明的编码是 {1}，但其中的中文是 UTF-8 编码：请把它的 <meta charset> 改为 utf-8，什么也没有写入")
LANTERNFIN_MESSAGE(PageNoReferenceHere,
                   "line {1}: {2} has no code in {3}, and where it stands (a CDATA section, <xmp>, "
                   "<plaintext>, <noframes>) a character reference shows as written; nothing written",
                   "第 {1} 行：{2} 在 {3} 中没有编码，而它所在之处（CDATA "
                   "段、<xmp>、<plaintext>、<noframes>）的字符引用会原样显示，什么也没有写入")
LANTERNFIN_MESSAGE(ToEncodingHint, " (--to-encoding UTF-8 or GB18030 can write it)",
                   "（--to-encoding UTF-8 或 GB18030 可以写出它）")
LANTERNFIN_MESSAGE(DocumentTooLarge, "is a document larger than 4 GB, past what a ZIP package can hold",
                   "是大于 4 GB 的文档，超出 ZIP 包能容纳的大小")
LANTERNFIN_MESSAGE(DocumentLines, "is a document, converted whole: --lines converts text only, line by line (leave it out)",
                   "是文档，整个转换：--lines 只逐行转换文本（请去掉它）")
LANTERNFIN_MESSAGE(EncryptedOffice, "is an encrypted Office document: open it, remove its password and save it again (as .docx, .xlsx or .pptx), then convert that",
                   "是加密的 Office 文档：请打开它，去掉密码后重新保存（存为 .docx、.xlsx 或 .pptx），再转换")
LANTERNFIN_MESSAGE(LegacyWord, "is a legacy Word document (.doc), which cannot be converted: open it and save it as .docx, then convert that",
                   "是旧式 Word 文档（.doc），无法转换：请打开它另存为 .docx，再转换")
LANTERNFIN_MESSAGE(LegacyExcel, "is a legacy Excel workbook (.xls), which cannot be converted: open it and save it as .xlsx, then convert that",
                   "是旧式 Excel 工作簿（.xls），无法转换：请打开它另存为 .xlsx，再转换")
LANTERNFIN_MESSAGE(LegacyPowerPoint, "is a legacy PowerPoint presentation (.ppt), which cannot be converted: open it and save it as .pptx, then convert that",
                   "是旧式 PowerPoint 演示文稿（.ppt），无法转换：请打开它另存为 .pptx，再转换")
LANTERNFIN_MESSAGE(LegacyOffice, "is a legacy Office file, which cannot be converted: open it and save it as .docx, .xlsx or .pptx, then convert that",
                   "是旧式 Office 文件，无法转换：请打开它另存为 .docx、.xlsx 或 .pptx，再转换")
LANTERNFIN_MESSAGE(ZipNotDocument, "is a ZIP archive, not a document this program converts (Word, Excel, PowerPoint, OpenDocument or EPUB)",
                   "是 ZIP 压缩包，不是本程序能转换的文档（Word、Excel、PowerPoint、OpenDocument 或 EPUB）")
LANTERNFIN_MESSAGE(ZipNotZip, "not a ZIP archive, or its end is missing", "不是 ZIP 压缩包，或者它的结尾缺失")
LANTERNFIN_MESSAGE(ZipDamaged, "damaged ZIP archive: {1}", "ZIP 压缩包已损坏：{1}")
LANTERNFIN_MESSAGE(ZipEntryUnreadable, "damaged ZIP archive: entry {1} cannot be read", "ZIP 压缩包已损坏：第 {1} 项无法读取")
LANTERNFIN_MESSAGE(ZipTwoEntries, "damaged ZIP archive: it holds two entries named {1}", "ZIP 压缩包已损坏：其中有两项都叫 {1}")
LANTERNFIN_MESSAGE(ZipPartEncrypted, "{1} is encrypted", "{1} 已加密")
LANTERNFIN_MESSAGE(ZipPastSizeLimit, "{1} inflates to {2} bytes, more than the limit of {3} MB",
                   "{1} 解压后有 {2} 字节，超过 {3} MB 的上限")
LANTERNFIN_MESSAGE(ZipPastRatioLimit, "{1} inflates to {2} bytes, more than {3} times its compressed size",
                   "{1} 解压后有 {2} 字节，超过压缩后大小的 {3} 倍")
LANTERNFIN_MESSAGE(ZipMoreThanDeclared, "{1} holds more data than it declares", "{1} 的数据比它声明的多")
LANTERNFIN_MESSAGE(ZipLessThanDeclared, "{1} holds less data than it declares", "{1} 的数据比它声明的少")
LANTERNFIN_MESSAGE(ZipCannotDeflate, "cannot deflate {1}", "无法压缩 {1}")
LANTERNFIN_MESSAGE(ZipNotWritten, "the package was not written", "文档包没有写出")
LANTERNFIN_MESSAGE(IndexPartTooLarge, "{1} is larger than {2} MB", "{1} 大于 {2} MB")
LANTERNFIN_MESSAGE(PartWhy, "{1}: {2}", "{1}：{2}")
LANTERNFIN_MESSAGE(DocumentCancelled, "cancelled", "已取消")

// The document engine's reasons for refusing a part whose markup it cannot read.
LANTERNFIN_MESSAGE(XmlWhyAtByte, "{2} at byte {1}", "第 {1} 字节处{2}")
LANTERNFIN_MESSAGE(XmlNotUtf8, "not valid UTF-8", "不是有效的 UTF-8")
LANTERNFIN_MESSAGE(XmlStrayAmpersand, "an & that begins no reference", "“&”后面不是字符引用")
LANTERNFIN_MESSAGE(XmlMarkupCutOff, "markup cut off at the end", "标记在结尾处被截断")
LANTERNFIN_MESSAGE(XmlPiNotClosed, "processing instruction not closed", "处理指令没有结束")
LANTERNFIN_MESSAGE(XmlPiWithoutTarget, "processing instruction without a target", "处理指令没有目标")
LANTERNFIN_MESSAGE(XmlCommentNotClosed, "comment not closed", "注释没有结束")
LANTERNFIN_MESSAGE(XmlCdataNotClosed, "CDATA section not closed", "CDATA 段没有结束")
LANTERNFIN_MESSAGE(XmlDoctypeUnbalanced, "DOCTYPE with an unbalanced internal subset", "DOCTYPE 的内部子集括号不配对")
LANTERNFIN_MESSAGE(XmlDoctypeEntities, "DOCTYPE declares entities, which are not expanded here", "DOCTYPE 声明了实体，本程序不展开实体")
LANTERNFIN_MESSAGE(XmlDoctypeNotClosed, "DOCTYPE not closed", "DOCTYPE 没有结束")
LANTERNFIN_MESSAGE(XmlDeclarationNotClosed, "markup declaration not closed", "标记声明没有结束")
LANTERNFIN_MESSAGE(XmlUnknownDeclaration, "unknown markup declaration", "未知的标记声明")
LANTERNFIN_MESSAGE(XmlTagWithoutName, "a tag without a name", "标签没有名称")
LANTERNFIN_MESSAGE(XmlEndTagNotClosed, "end tag not closed", "结束标签没有结束")
LANTERNFIN_MESSAGE(XmlTagNotClosed, "tag not closed", "标签没有结束")
LANTERNFIN_MESSAGE(XmlStraySlash, "stray / in a tag", "标签里有多余的“/”")
LANTERNFIN_MESSAGE(XmlAttributesNotSeparated, "attributes must be separated by white space", "属性之间必须有空白")
LANTERNFIN_MESSAGE(XmlBadAttributeName, "a bad attribute name", "属性名称不合法")
LANTERNFIN_MESSAGE(XmlAttributeValueNotClosed, "attribute value not closed", "属性值没有结束")
LANTERNFIN_MESSAGE(XmlLessThanInAttribute, "< in an attribute value", "属性值里有“<”")
LANTERNFIN_MESSAGE(XmlAttributeValueNotQuoted, "attribute value not quoted", "属性值没有加引号")
LANTERNFIN_MESSAGE(XmlAttributeWithoutValue, "attribute without a value", "属性没有值")
LANTERNFIN_MESSAGE(XmlBadReference, "malformed reference", "字符引用不合法")
LANTERNFIN_MESSAGE(XmlElementNotClosed, "element <{1}> not closed at the end", "元素 <{1}> 到结尾都没有结束")
LANTERNFIN_MESSAGE(XmlEndTagMismatch, "end tag </{1}> does not match at byte {2}", "第 {2} 字节处的结束标签 </{1}> 与开始标签不配")
// lanternfin-cli's help: the words of CLI11's layout, the program, then each command and option.
LANTERNFIN_MESSAGE(HelpLabelUsage, "Usage", "用法")
LANTERNFIN_MESSAGE(HelpLabelOptions, "Options", "选项")
LANTERNFIN_MESSAGE(HelpLabelPositionals, "Positionals", "位置参数")
LANTERNFIN_MESSAGE(HelpLabelSubcommands, "Subcommands", "命令")
LANTERNFIN_MESSAGE(HelpLabelRequired, "REQUIRED", "必需")
LANTERNFIN_MESSAGE(HelpLabelNeeds, "Needs", "需要")
LANTERNFIN_MESSAGE(HelpLabelExcludes, "Excludes", "不可同用")
LANTERNFIN_MESSAGE(HelpHelpFlag, "Print this help message and exit", "显示本帮助后退出")
LANTERNFIN_MESSAGE(HelpVersionFlag, "Display program version information and exit", "显示程序版本后退出")
LANTERNFIN_MESSAGE(HelpProgram,
                   "lanternfin-cli: the conversions of the Lanternfin window for scripts. Text is UTF-8, UTF-16,\n"
                   "GB18030 or Big5.",
                   "lanternfin-cli：供脚本使用的 Lanternfin 窗口的各种转换。文本可以是 UTF-8、UTF-16、\n"
                   "GB18030 或 Big5。")
LANTERNFIN_MESSAGE(HelpExitStatus,
                   "Exit status: 0 success, 1 no result or refused content, 2 usage error, invalid UTF-8 or missing\n"
                   "data file, 3 amount too large or a document part past the limits, 4 a file could not be read\n"
                   "(or is invalid in its named encoding), written or replaced, or a document that is damaged or\n"
                   "not supported (.doc, .xls, .ppt, encrypted).",
                   "退出状态：0 成功；1 没有结果或内容被拒绝；2 用法错误、无效的 UTF-8 或缺少数据文件；\n"
                   "3 金额太大或文档的某部分超出上限；4 文件无法读取（或不符合指定的编码）、写入或替换，\n"
                   "或文档已损坏或不受支持（.doc、.xls、.ppt、加密文档）。")
LANTERNFIN_MESSAGE(HelpFooter,
                   "Each COMMAND --help lists its options.\n"
                   "\n"
                   "Files: the text commands convert each FILE in turn (none, or -, is standard input). A file that\n"
                   "fails is reported with its name and the next one is still converted; with --in-place a failing\n"
                   "file is left exactly as it was. With -o FILE the first failure ends the run and FILE is not\n"
                   "written. The exit status is then that of the first failure.\n"
                   "\n"
                   "Encodings: a byte order mark decides, else valid UTF-8 is UTF-8, else GB18030 or Big5 by which\n"
                   "reads as Chinese (too short or too close to tell: refused, name it with --from-encoding). The\n"
                   "result goes back in the input's encoding, or in --to-encoding's; a character without a code\n"
                   "there is refused with its line and nothing is written. Subtitle files (.srt, .vtt, .ass, told\n"
                   "by their content) are converted in their cue text only.\n"
                   "\n"
                   "Folders: -O DST writes each FILE into the folder DST (-r: folders with all they hold), text\n"
                   "converted and other files copied, with --jobs N at once; see man lanternfin-cli.",
                   "每个命令的选项见 COMMAND --help。\n"
                   "\n"
                   "文件：文本命令依次转换每个 FILE（没有 FILE 或 FILE 为 - 时读标准输入）。失败的文件会报出\n"
                   "文件名，后面的文件照常转换；用 --in-place 时失败的文件保持原样。用 -o FILE 时第一个失败\n"
                   "就结束运行，不写 FILE。退出状态是第一个失败的状态。\n"
                   "\n"
                   "编码：有字节顺序标记按标记；否则有效的 UTF-8 按 UTF-8；否则按 GB18030 和 Big5 哪个读出来\n"
                   "像中文来定（太短或难分高下时拒绝，请用 --from-encoding 指定）。结果按输入的编码写回，或按\n"
                   "--to-encoding 指定的编码；目标编码中没有的字符会连同行号报出，什么都不写。字幕文件（.srt、\n"
                   ".vtt、.ass，按内容识别）只转换字幕文字。\n"
                   "\n"
                   "文件夹：-O DST 把每个 FILE 写进文件夹 DST（-r：连同文件夹里的一切），文本转换，其他文件复制，\n"
                   "--jobs N 同时处理 N 个；详见 man lanternfin-cli。")
LANTERNFIN_MESSAGE(HelpValueCommand, "{1} {2}: {3}", "{1} {2}：{3}")
LANTERNFIN_MESSAGE(HelpFiles, "input files, converted in turn (none or -: standard input)",
                   "输入文件，依次转换（没有或为 -：标准输入）")
LANTERNFIN_MESSAGE(HelpInPlace,
                   "replace each FILE by its output, atomically; a file that fails is left as it was and the next one "
                   "is still converted",
                   "用输出原子地替换每个 FILE；失败的文件保持原样，后面的文件照常转换")
LANTERNFIN_MESSAGE(HelpOutput, "write the output to FILE instead, replacing it atomically once everything succeeded",
                   "把输出写进 FILE，全部成功后原子地替换它")
LANTERNFIN_MESSAGE(HelpEachLine,
                   "every input line is one input and gives one output line; a refused line gives an empty line and "
                   "\"line N: why\" on stderr, the others go on, exit 1; a document, converted whole, is refused with it (exit 2)",
                   "每个输入行单独转换，各得一个输出行；被拒绝的行输出空行，并在 stderr 写“第 N 行：原因”，其余照常，"
                   "退出状态 1；文档只能整个转换，与它同用时拒绝（退出状态 2）")
LANTERNFIN_MESSAGE(HelpMoney,
                   "the amount the input holds in Chinese capitals (金额：1.5万元 -> 壹萬伍仟圆整): its one number, after any "
                   "label, times a 万 or 亿 that follows it; -, 负, − or parentheses around it make it negative (-￥5, "
                   "(5) -> 负伍圆整); no number or more than one, or a sign in doubt, exits 1 with the reason, 10^16 or "
                   "more exits 3; --decode and --verify read capitals back",
                   "输入中的金额写成中文大写（金额：1.5万元 -> 壹萬伍仟圆整）：标签之后的唯一数字，乘以后面的万或亿；"
                   "-、负、− 或括住它的括号表示负数（-￥5、(5) -> 负伍圆整）；没有数字、不止一个数字或看不出正负时，"
                   "退出状态 1 并说明原因，10^16 及以上退出状态 3；--decode 和 --verify 把大写读回数字")
LANTERNFIN_MESSAGE(HelpMoneyDecode,
                   "read the input as capitals and write the amount they state with two decimals (壹仟零伍圆伍角整 -> "
                   "1005.50), in any writing the bill rules allow, after any label (人民币（大写）：); a text that is not a "
                   "well-formed amount exits 1, naming the first wrong character",
                   "把输入当作大写金额读回，写出它表示的金额，保留两位小数（壹仟零伍圆伍角整 -> 1005.50）；票据规范允许的"
                   "各种写法都读，可带标签（人民币（大写）：）；不是规范金额的文本退出状态 1，并指出第一个错字")
LANTERNFIN_MESSAGE(HelpMoneyVerify,
                   "check that the capitals of the input state NUMBER (read as money reads its input: 1005元, 1.5万): "
                   "the amount and exit 0 when they do, exit 1 with what they state when they do not",
                   "核对输入的大写是否表示 NUMBER（按 money 读输入的方式读：1005元、1.5万）：相符时写出金额，退出状态 0；"
                   "不符时退出状态 1，并说明大写表示的金额")
LANTERNFIN_MESSAGE(HelpMoneyStyle, "design (拾陆圆整, the default) or bank (壹拾陆元整)",
                   "design（拾陆圆整，默认）或 bank（壹拾陆元整）")
LANTERNFIN_MESSAGE(HelpMoneyYuan, "the yuan of the bank style: 元 (the default) or 圆", "bank 写法的“元”：元（默认）或圆")
LANTERNFIN_MESSAGE(HelpDate,
                   "the first date of the input (2026-12-07, 2026/12/7, 2026.12.7, 2026年12月7日, 20261207) as a bill's "
                   "date in capitals (贰零贰陆年壹拾贰月零柒日); a date that does not exist exits 1",
                   "输入中的第一个日期（2026-12-07、2026/12/7、2026.12.7、2026年12月7日、20261207）写成票据的大写日期"
                   "（贰零贰陆年壹拾贰月零柒日）；不存在的日期退出状态 1")
LANTERNFIN_MESSAGE(HelpNumerals,
                   "the amount the input holds, read as money reads it, in Chinese numerals (1005.5 -> 一千零五点五); "
                   "--decode reads numerals back",
                   "输入中的数（按 money 的方式读）写成中文数字（1005.5 -> 一千零五点五）；--decode 把中文数字读回")
LANTERNFIN_MESSAGE(HelpNumeralsDecode,
                   "read the input as numerals of either style and write the number (一千零五点五 -> 1005.5); anything "
                   "else exits 1, naming the first wrong character",
                   "把输入当作中文数字（小写或大写）读回数字（一千零五点五 -> 1005.5）；其他文本退出状态 1，并指出第一个错字")
LANTERNFIN_MESSAGE(HelpNumeralsCapitals, "capital digits (壹仟零伍点伍)", "用大写数字（壹仟零伍点伍）")
LANTERNFIN_MESSAGE(HelpTraditional,
                   "simplified text made traditional by phrases, as convert -c s2t (头发 -> 頭髮); documents too (see convert)",
                   "简体按词组转成繁体，同 convert -c s2t（头发 -> 頭髮）；也转换文档（见 convert）")
LANTERNFIN_MESSAGE(HelpTraditionalByCharacter, "character by character instead, as the window's 逐字 (头发 -> 頭發)",
                   "改为逐字转换，同窗口的“逐字”（头发 -> 頭發）")
LANTERNFIN_MESSAGE(HelpSimplified,
                   "traditional text made simplified by phrases, as convert -c t2s (乾隆 stays 乾隆); documents too (see convert)",
                   "繁体按词组转成简体，同 convert -c t2s（乾隆仍是乾隆）；也转换文档（见 convert）")
LANTERNFIN_MESSAGE(HelpSimplifiedByCharacter, "character by character instead, as the window's 逐字 (乾隆 -> 干隆)",
                   "改为逐字转换，同窗口的“逐字”（乾隆 -> 干隆）")
LANTERNFIN_MESSAGE(HelpConvert,
                   "phrases converted as the OpenCC configuration NAME defines it (s2t, t2s, s2twp, ...). A FILE that is a "
                   "document (.docx .docm .dotx .xlsx .xlsm .pptx .odt .ods .odp .epub .html .xhtml, told by its content) is "
                   "converted whole: only its text changes, everything else is kept byte for byte, and one that needs no "
                   "change comes out identical; a legacy or encrypted Office file is refused (exit 4), a part past 256 MB "
                   "or 1000 times its compressed size too (exit 3)",
                   "按 OpenCC 配置 NAME 的定义转换词组（s2t、t2s、s2twp……）。文档 FILE（.docx .docm .dotx .xlsx .xlsm "
                   ".pptx .odt .ods .odp .epub .html .xhtml，按内容识别）整个转换：只改文字，其余逐字节保留，不需要改的"
                   "文档原样输出；旧式或加密的 Office 文件被拒绝（退出状态 4），某部分超过 256 MB 或超过压缩后大小的 "
                   "1000 倍也被拒绝（退出状态 3）")
LANTERNFIN_MESSAGE(HelpConvertConfig,
                   "an OpenCC configuration: a name such as s2t or s2twp (with or without .json) or the path of a JSON file",
                   "OpenCC 配置：名称，如 s2t 或 s2twp（带不带 .json 都可以），或 JSON 文件的路径")
LANTERNFIN_MESSAGE(HelpUpper, "the text in upper case; documents too (see convert)", "文本转成大写字母；也转换文档（见 convert）")
LANTERNFIN_MESSAGE(HelpLower, "the text in lower case; documents too (see convert)", "文本转成小写字母；也转换文档（见 convert）")
LANTERNFIN_MESSAGE(HelpPinyin,
                   "the pinyin of the text trimmed of spaces at both ends (汉字 -> HanZi); with --tone, --separator "
                   "or --initials every Chinese character read as its word reads it (银行 -> yín háng), other text "
                   "unchanged",
                   "去掉两端空格后的文本的拼音（汉字 -> HanZi）；用 --tone、--separator 或 --initials 时，每个汉字按所在"
                   "词的读音注音（银行 -> yín háng），其他文本不变")
LANTERNFIN_MESSAGE(HelpPinyinTone,
                   "marks (hàn zì), numbers (han4 zi4, 5 neutral) or none (han zi); without --tone, --separator or "
                   "--initials the pinyin is the window's (HanZi), with --separator alone marks",
                   "marks（hàn zì）、numbers（han4 zi4，轻声为 5）或 none（han zi）；不用 --tone、--separator 和 "
                   "--initials 时是窗口的拼音（HanZi），只用 --separator 时为 marks")
LANTERNFIN_MESSAGE(HelpPinyinSeparator, "between syllables, and beside letters or digits (default one space)",
                   "音节之间以及与字母、数字之间的分隔（默认一个空格）")
LANTERNFIN_MESSAGE(HelpPinyinInitials, "each syllable's first letter (汉字 -> h z)", "每个音节的首字母（汉字 -> h z）")
LANTERNFIN_MESSAGE(HelpRatio,
                   "d of a : b = c : d as the calculator shows it (exit 1: no result, or a value that is not a number)",
                   "a : b = c : d 中的 d，与计算器显示的相同（退出状态 1：没有结果，或某个值不是数字）")
LANTERNFIN_MESSAGE(HelpRatioValues,
                   "Values:\n"
                   "  A B C                   the calculator's boxes a, b and c, each one number as a\n"
                   "                          whole (-5, .5, 1e3, 1,234, &H10; not 12%, 5abc or 1,5)\n",
                   "值：\n"
                   "  A B C                   计算器的 a、b、c 三个框，每个整体是一个数字\n"
                   "                          （-5、.5、1e3、1,234、&H10；不可以是 12%、5abc 或 1,5）\n")
LANTERNFIN_MESSAGE(HelpRatioLines,
                   "read standard input instead: A, B and C of each line separated by blanks, tabs or commas, one result "
                   "line each (a line without a result, or with more or fewer than three values: an empty line, \"line N: "
                   "why\" on stderr, exit 1)",
                   "改读标准输入：每行的 A、B、C 以空格、制表符或逗号分隔，每行得一个结果行（没有结果或不是三个值的行："
                   "输出空行，stderr 写“第 N 行：原因”，退出状态 1）")
LANTERNFIN_MESSAGE(HelpRound,
                   "the calculator's result TEXT (or standard input) rounded to WEI = 0, 1 or 2 decimals, as the copy "
                   "button places it (exit 1: not a number)",
                   "把计算器的结果 TEXT（或标准输入）按复制按钮的方式舍入到 WEI = 0、1 或 2 位小数（退出状态 1：不是数字）")
LANTERNFIN_MESSAGE(HelpRoundValues,
                   "Values:\n"
                   "  WEI                     the decimals: 0, 1 or 2\n"
                   "  TEXT                    the result to round; standard input (without its final\n"
                   "                          line break) when left out\n",
                   "值：\n"
                   "  WEI                     小数位数：0、1 或 2\n"
                   "  TEXT                    要舍入的结果；省略时读标准输入（不含最后的换行）\n")
LANTERNFIN_MESSAGE(HelpOutputDir,
                   "write each FILE under its own name into folder DST (created when missing): text files converted, "
                   "other files copied unchanged, each replaced atomically",
                   "把每个 FILE 以原名写进文件夹 DST（不存在时创建）：文本文件转换，其他文件原样复制，都原子地替换")
LANTERNFIN_MESSAGE(HelpRecursive,
                   "with -O: mirror the folders among the FILEs, with all they hold; links are copied as links, never "
                   "followed; folder permissions and file modes are kept",
                   "与 -O 同用：连同内容镜像 FILE 中的文件夹；链接作为链接复制，从不跟随；保留文件夹权限和文件模式")
LANTERNFIN_MESSAGE(HelpNames, "with -O: convert file and folder names too; names that would become one are refused",
                   "与 -O 同用：文件名和文件夹名也转换；转换后重名的拒绝")
LANTERNFIN_MESSAGE(HelpSkipExisting,
                   "with -O: keep each output that exists and is newer than its source (to finish an interrupted run)",
                   "与 -O 同用：已存在且比源文件新的输出保留不动（用于续完中断的运行）")
LANTERNFIN_MESSAGE(HelpJobs,
                   "convert N files at once, and a large text in N parts cut at line ends (default: one per core); the "
                   "output is the same for every N",
                   "同时转换 N 个文件，大文本在行尾切成 N 份并行转换（默认：每个核心一个）；N 不同，输出都一样")
LANTERNFIN_MESSAGE(HelpProgress, "show progress on stderr even when it is not a terminal (a line every 5 s)",
                   "即使 stderr 不是终端也显示进度（每 5 秒一行）")
LANTERNFIN_MESSAGE(HelpNoProgress, "never show progress", "从不显示进度")
LANTERNFIN_MESSAGE(HelpFromEncoding,
                   "the input's encoding: UTF-8, UTF-16 (LE, BE), GB18030, GBK, BIG5 or BIG5-HKSCS; by default a byte "
                   "order mark decides, else UTF-8, else GB18030 or Big5 by which reads as Chinese",
                   "输入的编码：UTF-8、UTF-16（LE、BE）、GB18030、GBK、BIG5 或 BIG5-HKSCS；默认按字节顺序标记，"
                   "否则 UTF-8，否则按 GB18030 和 Big5 哪个读出来像中文")
LANTERNFIN_MESSAGE(HelpToEncoding,
                   "the output's encoding, one of the same (GBK writes € as 80, GB18030 as A2 E3); by default the "
                   "input's (with its byte order mark; GBK written as GB18030 with each € as it was)",
                   "输出的编码，同上几种（GBK 把 € 写成 80，GB18030 写成 A2 E3）；默认与输入相同（保留字节顺序标记；"
                   "GBK 写成 GB18030，每个 € 保持原样）")
LANTERNFIN_MESSAGE(HelpFonts,
                   "in documents, also map East Asian font names and language tags with the script (宋体/SimSun "
                   "<-> 新細明體/PMingLiU, 黑体/SimHei <-> 微軟正黑體, 楷体 <-> 標楷體; zh-CN <-> zh-TW/zh-HK)",
                   "在文档中，字体名和语言标记也随字形转换（宋体/SimSun <-> 新細明體/PMingLiU、黑体/SimHei <-> 微軟正黑體、"
                   "楷体 <-> 標楷體；zh-CN <-> zh-TW/zh-HK）")

// lanternfin-cli's other words: inputs, options, -O's summary and the progress line.
LANTERNFIN_MESSAGE(StandardInput, "standard input", "标准输入")
LANTERNFIN_MESSAGE(UnknownEncoding, "unknown encoding {1} (UTF-8, UTF-16, UTF-16LE, UTF-16BE, GB18030, GBK, GB2312, CP936, BIG5, CP950 or BIG5-HKSCS)",
                   "未知的编码 {1}（可用 UTF-8、UTF-16、UTF-16LE、UTF-16BE、GB18030、GBK、GB2312、CP936、BIG5、CP950 或 BIG5-HKSCS）")
LANTERNFIN_MESSAGE(FontsWithoutDirection, "the configuration's name does not say which way the script goes: {1}",
                   "配置名看不出字形转换的方向：{1}")
LANTERNFIN_MESSAGE(OutputDirNeedsFiles, "-O needs the files or folders to convert (not standard input)",
                   "-O 需要给出要转换的文件或文件夹（不能是标准输入）")
// The summary of -O: its counts, then the time and what the exit status means.
LANTERNFIN_MESSAGE(BatchCounts, "{1} converted, {2} copied, ", "转换 {1} 个，复制 {2} 个，")
LANTERNFIN_MESSAGE(BatchSkipped, "{1} skipped (up to date), ", "跳过 {1} 个（已是最新），")
LANTERNFIN_MESSAGE(BatchRefused, "{1} refused", "拒绝 {1} 个")
LANTERNFIN_MESSAGE(BatchFailed, ", {1} not read or written", "，{1} 个无法读写")
LANTERNFIN_MESSAGE(BatchTime, " in {1}", "，用时 {1}")
LANTERNFIN_MESSAGE(BatchExitIo, "; exit 4: some files could not be read or written", "；退出状态 4：有文件无法读取或写入")
LANTERNFIN_MESSAGE(BatchExitRefused, "; exit 1: some content was refused", "；退出状态 1：有内容被拒绝")
// The progress line: files done of all, megabytes, rate, time left.
LANTERNFIN_MESSAGE(ProgressFiles, "{1}/{2} files, ", "{1}/{2} 个文件，")
LANTERNFIN_MESSAGE(ProgressOf, " of {1}", " / {1}")
LANTERNFIN_MESSAGE(ProgressRate, ", {1}/s", "，{1}/秒")
LANTERNFIN_MESSAGE(ProgressLeft, ", {1} left", "，还需 {1}")

// A file replaced atomically (platform/atomic_file): the step that failed, then the system's reason.
LANTERNFIN_MESSAGE(RefusingSharedLink, "refusing to follow {1}, a symbolic link that uid {2} owns in a shared folder: {3}",
                   "拒绝跟随共享文件夹中 uid {2} 所有的符号链接 {1}：{3}")
LANTERNFIN_MESSAGE(CannotFollowLink, "cannot follow the symbolic link: {1}", "无法跟随符号链接：{1}")
LANTERNFIN_MESSAGE(CannotWriteSocket, "cannot write to a socket: {1}", "无法写入套接字：{1}")
LANTERNFIN_MESSAGE(CannotCreateTemporary, "cannot create a temporary file beside it: {1}", "无法在它旁边创建临时文件：{1}")
LANTERNFIN_MESSAGE(CannotKeepAttribute, "cannot give the new file the old one's extended attribute {1}: {2}",
                   "无法把旧文件的扩展属性 {1} 赋予新文件：{2}")
LANTERNFIN_MESSAGE(CannotOpenForWriting, "cannot open it for writing: {1}", "无法打开它来写入：{1}")
LANTERNFIN_MESSAGE(CannotReplaceFile, "cannot replace the file: {1}", "无法替换文件：{1}")
// More errno reasons, worded as the C library words them in English.
LANTERNFIN_MESSAGE(ErrorNotPermitted, "Operation not permitted", "不允许的操作")
LANTERNFIN_MESSAGE(ErrorInputOutput, "Input/output error", "输入/输出错误")
LANTERNFIN_MESSAGE(ErrorNoDevice, "No such device or address", "没有那个设备或地址")
LANTERNFIN_MESSAGE(ErrorQuota, "Disk quota exceeded", "超出磁盘配额")
LANTERNFIN_MESSAGE(ErrorFileTooLarge, "File too large", "文件过大")
LANTERNFIN_MESSAGE(ErrorBusy, "Device or resource busy", "设备或资源忙")
LANTERNFIN_MESSAGE(ErrorTooManyFiles, "Too many open files", "打开的文件过多")
LANTERNFIN_MESSAGE(ErrorCrossDevice, "Invalid cross-device link", "无效的跨设备链接")

// Dictionaries of a configuration: an inline one named by its place in the file, and the child
// process that reads binary ones (platform/isolated_call).
LANTERNFIN_MESSAGE(InInlineDictionary, "inline dictionary {1}: {2}", "内联词典 {1}：{2}")
LANTERNFIN_MESSAGE(ReaderCannotStart, "cannot start a reader: {1}", "无法启动读取进程：{1}")
LANTERNFIN_MESSAGE(ReaderTooCostly, "used more than {1} s of processor time", "占用处理器时间超过 {1} 秒")
LANTERNFIN_MESSAGE(ReaderStuck, "the reading process was stuck for {1} s (stopped, blocked, or kept off the processor by other work); try again",
                   "读取进程停滞了 {1} 秒（被暂停、阻塞，或处理器被其他工作占满）；请重试")
LANTERNFIN_MESSAGE(ReaderTooMuch, "handed back too much", "交回的数据太多")
LANTERNFIN_MESSAGE(ReaderCrashed, "crashed (signal {1})", "崩溃（信号 {1}）")
LANTERNFIN_MESSAGE(ReaderFailed, "failed", "失败")

// The parts of the pinyin data that a damaged file fails in (PinyinDataDamaged).
LANTERNFIN_MESSAGE(PinyinPartCounts, "counts", "计数")
LANTERNFIN_MESSAGE(PinyinPartSize, "size", "大小")
LANTERNFIN_MESSAGE(PinyinPartChecksum, "checksum", "校验和")
LANTERNFIN_MESSAGE(PinyinPartSyllables, "syllables", "音节表")
LANTERNFIN_MESSAGE(PinyinPartPages, "pages", "字页")
LANTERNFIN_MESSAGE(PinyinPartReadings, "readings", "读音")
LANTERNFIN_MESSAGE(PinyinPartModels, "models", "语境模型")

// Private folders (platform/private_folder): what is wrong with one, after its path.
LANTERNFIN_MESSAGE(FolderProblem, "{1} {2}", "{1}：{2}")
LANTERNFIN_MESSAGE(FolderCannotBeMade, "cannot be made: {1}", "无法创建：{1}")
LANTERNFIN_MESSAGE(FolderIsLink, "is a symbolic link", "是符号链接")
LANTERNFIN_MESSAGE(FolderNotFolder, "is not a folder", "不是文件夹")
LANTERNFIN_MESSAGE(FolderOtherOwner, "belongs to uid {1}", "属于 uid {1}")
LANTERNFIN_MESSAGE(FolderNotPrivate, "is open to other users and cannot be made private", "对其他用户开放，且无法改为私有")
LANTERNFIN_MESSAGE(FolderOpenToRenames, "{1} lets every user rename what it holds (writable by all, without the sticky bit)",
                   "{1} 允许任何用户改名或删除其中的内容（所有人可写，且没有粘滞位）")
// The folder of the instance's socket and the start of the program (platform/local_instance).
LANTERNFIN_MESSAGE(ReasonList, "{1}; {2}", "{1}；{2}")
LANTERNFIN_MESSAGE(RuntimeDirPassedOver, "XDG_RUNTIME_DIR {1} is not used: {2}", "不使用 XDG_RUNTIME_DIR {1}：{2}")
LANTERNFIN_MESSAGE(RuntimeDirNotPrivate, "XDG_RUNTIME_DIR {1} is not a folder of this user that only it may write to",
                   "XDG_RUNTIME_DIR {1} 不是只有本用户可写的本用户文件夹")
LANTERNFIN_MESSAGE(FolderPassedOver, "{1} is not used: {2}", "不使用 {1}：{2}")
LANTERNFIN_MESSAGE(NoPrivateSocketFolder, "no private folder for the instance's socket: {1}",
                   "找不到可放实例套接字的私有文件夹：{1}")
LANTERNFIN_MESSAGE(SocketFolderNotice, "{1}; the instance's socket is in {2}", "{1}；实例套接字放在 {2}")
LANTERNFIN_MESSAGE(StartLockFailed, "cannot take the start lock {1}", "无法取得启动锁 {1}")
LANTERNFIN_MESSAGE(StartLockHeld, "cannot take the start lock {1}: another start holds it", "无法取得启动锁 {1}：另一次启动正持有它")
LANTERNFIN_MESSAGE(CannotListen, "cannot listen at {1}: {2}", "无法在 {1} 监听：{2}")
LANTERNFIN_MESSAGE(CannotStartInBackground, "could not start Lanternfin in the background", "无法在后台启动 Lanternfin")
LANTERNFIN_MESSAGE(BackgroundEndedEarly, "Lanternfin started in the background ended before it listened at {1}",
                   "在后台启动的 Lanternfin 还没在 {1} 监听就结束了")
LANTERNFIN_MESSAGE(InstanceSilent, "Lanternfin is running but does not answer ({1}); end it or wait until it responds again",
                   "Lanternfin 正在运行但没有应答（{1}）；请结束它，或等它恢复响应")
LANTERNFIN_MESSAGE(InstanceNotStarted, "Lanternfin could not be started in the background ({1})", "无法在后台启动 Lanternfin（{1}）")
LANTERNFIN_MESSAGE(InstanceUnreachable, "cannot reach the running Lanternfin ({1})", "无法联系正在运行的 Lanternfin（{1}）")
LANTERNFIN_MESSAGE(SocketOfStranger,
                   "the socket {1} is held by a process of another user; nothing was sent to it. Remove it, or set "
                   "XDG_RUNTIME_DIR to a folder of your own",
                   "套接字 {1} 被其他用户的进程占用，没有向它发送任何内容。请删除它，或把 XDG_RUNTIME_DIR 设为你自己的文件夹")
LANTERNFIN_MESSAGE(ErrorAddressInUse, "Address already in use", "地址已在使用")
LANTERNFIN_MESSAGE(SettingsNotRegular,
                   "the settings file {1} is not a regular file; it is left as it is and the program starts with its defaults",
                   "设置文件 {1} 不是普通文件；它保持原样，程序以默认设置启动")

// lanternfin's help (ui/command_line).
LANTERNFIN_MESSAGE(WindowHelpProgram,
                   "Chinese office text tools: simplified/traditional, case, amounts in capitals, pinyin, a proportion "
                   "calculator.\n"
                   "One instance runs per user and display; a second start hands its request to it.\n"
                   "Exit status: 0 done, 1 failed (the reason on stderr), 2 usage error.",
                   "中文办公文字工具：简繁转换、大小写、金额大写、拼音、比例计算器。\n"
                   "每个用户每个显示器只运行一个实例；再次启动时把请求交给它。\n"
                   "退出状态：0 完成，1 失败（原因写在 stderr），2 用法错误。")
LANTERNFIN_MESSAGE(WindowHelpHelp, "Show this help.", "显示本帮助。")
LANTERNFIN_MESSAGE(WindowHelpVersion, "Show the version.", "显示版本。")
LANTERNFIN_MESSAGE(WindowHelpToggle, "Hide the window into the tray, or bring it back, as a click on the tray icon does.",
                   "把窗口隐藏到托盘，或让它回来，同单击托盘图标。")
LANTERNFIN_MESSAGE(WindowHelpShow, "Show and raise the window (the default).", "显示窗口并置于最前（默认）。")
LANTERNFIN_MESSAGE(WindowHelpQuit, "End the running program.", "结束正在运行的程序。")
LANTERNFIN_MESSAGE(WindowHelpTray, "Start hidden in the tray when there is one; do nothing when the program already runs.",
                   "有托盘时启动后隐藏在托盘；程序已在运行时什么也不做。")
LANTERNFIN_MESSAGE(WindowHelpClipboard,
                   "Convert the clipboard's text in place. COMMAND is one of {1}, or an explicit way: convert:CONFIG, "
                   "pinyin:STYLE or money:WAY. traditional, simplified and pinyin convert the way their button's 设为默认 "
                   "chose, as the tray's 剪贴板 entries do (character by character and capitalised pinyin until another "
                   "way is chosen). restore puts back the text from before the last conversion. convert:CONFIG converts "
                   "by the OpenCC configuration CONFIG (e.g. s2t, s2tw, s2twp, s2hk, s2hkp, t2s, tw2s, tw2sp, hk2s, hk2sp: "
                   "OpenCC 1.4.1's, built in; others from LANTERNFIN_OPENCC_DIR or /usr/share/opencc); pinyin:STYLE adds a "
                   "line break and the reading in STYLE (marks, numbers, none, initials); money:WAY rewrites as the amount "
                   "button's way WAY (bank, bank-round, date, read-back, numerals, capital-numerals). An unknown command is "
                   "a usage error (2); a configuration or data file that cannot be loaded, or a text that money or a money "
                   "way refuses, fails (1) and leaves the clipboard as it was. Starts the program in the tray when it is "
                   "not running.",
                   // Qt wraps at spaces only: the names stand apart, so that none is cut across lines.
                   "就地转换剪贴板上的文字。COMMAND 是 {1} 之一，或明确指定的方式：convert:CONFIG、pinyin:STYLE 或 "
                   "money:WAY。traditional、simplified 和 pinyin 按各自按钮的“设为默认”所选的方式转换，同托盘的“剪贴板” "
                   "菜单项（未另选方式前为逐字转换和首字母大写的拼音）。restore 恢复上次转换前的文字。convert:CONFIG 按 "
                   "OpenCC 配置 CONFIG 转换（例如 s2t, s2tw, s2twp, s2hk, s2hkp, t2s, tw2s, tw2sp, hk2s, hk2sp： "
                   "OpenCC 1.4.1 的配置，已内置；其他配置取自 LANTERNFIN_OPENCC_DIR 或 /usr/share/opencc）；pinyin:STYLE "
                   "在后面加一个换行和 STYLE 样式的读音（marks, numbers, none, initials）；money:WAY 按金额按钮的 WAY "
                   "方式改写（bank, bank-round, date, read-back, numerals, capital-numerals）。未知的命令是用法错误（2）； "
                   "无法载入的配置或数据文件，或 money 及金额方式拒绝的文字，都算失败（1），剪贴板保持原样。程序没有运行时 "
                   "在托盘中启动它。")
// A usage error of lanternfin-cli's own after the option or command it concerns.
LANTERNFIN_MESSAGE(OptionWhy, "{1}: {2}", "{1}：{2}")

// The ZIP library's reasons for an archive it cannot read.
LANTERNFIN_MESSAGE(ZipInconsistent, "its directory and its entries disagree", "目录与各项内容不一致")
LANTERNFIN_MESSAGE(ZipCrc, "a checksum (CRC) does not match", "校验和（CRC）不符")
LANTERNFIN_MESSAGE(ZipEndedEarly, "the file ends too early", "文件提前结束")
LANTERNFIN_MESSAGE(ZipBadCompressedData, "its compressed data is damaged", "压缩数据已损坏")
LANTERNFIN_MESSAGE(ZipMethodNotSupported, "its compression method is not supported", "不支持它的压缩方法")
LANTERNFIN_MESSAGE(ZipEncrypted, "it is encrypted", "已加密")
