// Keeps the support library non-empty while it has no other sources.
namespace korvana_test_support {
int placeholder = 0;
}
