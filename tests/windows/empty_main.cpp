// A program file that does nothing; what matters is the resources linked into it.
int main() {
    return 0;
}
